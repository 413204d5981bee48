#include "launcher/launch.h"

#include "launcher/container_reader.h"
#include "launcher/messages.h"
#include "launcher/scramble.h"

#ifndef BRINDLE_VERSION
#error "BRINDLE_VERSION must name the project version"
#endif

namespace brindle::launcher {
namespace {

using Failure = std::unexpected<LaunchFailure>;

Failure failure(std::string_view message, std::string detail = {}) {
    return Failure(LaunchFailure{std::string(message), std::move(detail)});
}
Failure failure(const Error& error) { return failure(error.message); }

// A path fits when it and its NUL fit the system's limit; longer ones are refused, never cut.
bool fits(const Platform& platform, size_t path_length) { return path_length < platform.path_limit(); }

}  // namespace

std::expected<StartFn, LaunchFailure> prepare_kernel(Platform& platform) {
    std::string exe_path = platform.executable_path();
    auto file = platform.open_for_reading(exe_path);
    if (!file) return failure(messages::kCantOpenFile);

    auto file_size = file->size();
    if (!file_size) return failure(messages::kFailedToReadData);
    auto trailer_at = container::trailer_position(*file_size);
    if (!trailer_at) return failure(trailer_at.error());

    uint8_t trailer[container::kTrailerSize];
    auto got = file->read_at(*trailer_at, trailer);
    if (!got || *got != sizeof trailer) return failure(messages::kFailedToReadData);
    auto block_size = container::read_trailer(trailer, *trailer_at);
    if (!block_size) return failure(block_size.error());

    std::unique_ptr<uint8_t[]> block_buffer = platform.allocate(*block_size);
    if (!block_buffer) return failure(messages::kInsufficientMemory);
    std::span<uint8_t> block(block_buffer.get(), *block_size);
    const uint64_t block_at = *trailer_at - *block_size;
    got = file->read_at(block_at, block);
    if (!got || *got != block.size()) return failure(messages::kFailedToReadFile);
    file.reset();
    auto header = container::read_block_header(block, block_at);
    if (!header) return failure(header.error());

    auto temp_dir = platform.temp_directory();
    if (!temp_dir || temp_dir->empty()) return failure(messages::kNoTempDirectory);

    container::scramble_body(block, header->key);
    auto dir = container::read_dir_name(block, header->payload_id, block_at);
    if (!dir) return failure(dir.error());
    std::string dir_path = *temp_dir + dir->name;
    // The stored name is joined to the temporary directory: it must not lead anywhere else.
    if (!container::is_plain_file_name(dir->name))
        return failure(messages::kCantUseExtractionDir, dir_path + ": the payload names no plain directory");
    if (!fits(platform, dir_path.size() + 1)) return failure(messages::kPathTooLong, dir_path);
    auto directory = platform.open_extraction_directory(dir_path);
    if (!directory && !directory.error().name_too_long) {
        // In a shared temporary folder anyone may take the usual name first. Their directory is never
        // used, but it must not stop the start either: a fresh private one takes its place.
        if (auto fresh = platform.create_private_directory(dir_path)) {
            dir_path = std::move(fresh->first);
            directory = std::move(fresh->second);
        }
    }
    if (!directory) {
        const SystemFailure& why = directory.error();
        return failure(why.name_too_long ? messages::kPathTooLong : messages::kCantUseExtractionDir,
                       dir_path + ": " + why.reason);
    }
    dir_path += platform.separator();

    auto packed = container::read_packed_record(block, dir->packed_at, block_at);
    if (!packed) return failure(packed.error());
    std::unique_ptr<uint8_t[]> list_buffer = platform.allocate(packed->unpacked_size);
    if (!list_buffer) return failure(messages::kInsufficientMemory);
    auto list_size = container::inflate_list(packed->stream, std::span(list_buffer.get(), packed->unpacked_size));
    if (!list_size) return failure(list_size.error());
    block_buffer.reset();
    if (*list_size == 0) return failure(messages::kKernelNotFound);

    auto records = container::read_file_list(ByteView(list_buffer.get(), *list_size));
    if (!records) return failure(records.error());
    // The last record named like the kernel is the kernel; it is loaded from the very file written for
    // it, and when that write failed the launch fails (a copy from an earlier start is never used).
    std::string kernel_name, kernel_unwritten;
    std::unique_ptr<WrittenFile> kernel_file;
    for (const container::FileRecord& record : *records) {
        if (!container::is_plain_file_name(record.name)) continue;  // never written outside the directory
        std::string file_path = dir_path + std::string(record.name);
        if (!fits(platform, file_path.size())) return failure(messages::kPathTooLong, file_path);
        const bool is_kernel = container::is_kernel_name(record.name);
        if (is_kernel) {
            kernel_name = record.name;
            kernel_file.reset();
        }
        auto written = (*directory)->write_file(record.name, record.content);
        if (!written) {
            if (written.error().name_too_long) return failure(messages::kPathTooLong, file_path + ": " + written.error().reason);
            if (is_kernel) kernel_unwritten = file_path + ": " + written.error().reason;
            continue;  // any other file that cannot be written is skipped
        }
        if (is_kernel) kernel_file = std::move(*written);
    }
    list_buffer.reset();
    if (kernel_name.empty()) return failure(messages::kKernelNotFound);
    if (!kernel_file) return failure(messages::kKernelWriteFailed, kernel_unwritten);

    auto library = kernel_file->load_library();
    if (!library) return failure(messages::kKernelLoadFailed, dir_path + kernel_name + ": " + library.error());
    kernel_file.reset();
    directory->reset();
    auto get_new_sock = reinterpret_cast<GetNewSockFn>(platform.find_symbol(*library, kEntryExport));
    if (!get_new_sock) return failure(messages::kKernelInvalid);
    auto start = reinterpret_cast<StartFn>(get_new_sock(abi::kKernelVersion));
    if (!start) return failure(messages::kKernelInterfaceInvalid);
    return start;
}

int launch(Platform& platform, ByteView image) {
    auto start = prepare_kernel(platform);
    if (!start) {
        platform.show_message(start.error().message, start.error().detail);
        return kExitFailed;
    }
    return (*start)(image.data(), image.size()) == 0 ? kExitRan : kExitFailed;
}

std::optional<int> answer_command_line(std::span<const std::string_view> args, std::FILE* out) {
    for (std::string_view arg : args) {
        if (arg == "--version") {
            std::fputs("brindle " BRINDLE_VERSION "\n", out);
        } else if (arg == "--help") {
            std::fputs("Usage: brindle [--help | --version]: starts the Brindle DedeCMS template tag builder.\n", out);
        } else {
            continue;
        }
        return std::fflush(out) == 0 && !std::ferror(out) ? kExitRan : kExitFailed;
    }
    return std::nullopt;
}

}  // namespace brindle::launcher
