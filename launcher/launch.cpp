#include "launcher/launch.h"

#include "launcher/container_reader.h"
#include "launcher/messages.h"
#include "launcher/scramble.h"

namespace brindle::launcher {
namespace {

using Failure = std::unexpected<std::string>;

Failure failure(std::string_view message) { return Failure(std::string(message)); }
Failure failure(const Error& error) { return Failure(error.message); }

// A path fits when it and its NUL fit the system's limit; longer ones are refused, never cut.
bool fits(const Platform& platform, size_t path_length) { return path_length < platform.path_limit(); }

}  // namespace

std::expected<StartFn, std::string> prepare_kernel(Platform& platform) {
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
    got = file->read_at(*trailer_at - *block_size, block);
    if (!got || *got != block.size()) return failure(messages::kFailedToReadFile);
    file.reset();
    auto header = container::read_block_header(block);
    if (!header) return failure(header.error());

    auto temp_dir = platform.temp_directory();
    if (!temp_dir || temp_dir->empty()) return failure(messages::kNoTempDirectory);

    container::scramble_body(block, header->key);
    auto dir = container::read_dir_name(block, header->payload_id);
    if (!dir) return failure(dir.error());
    // The stored name is joined to the temporary directory: it must not lead anywhere else.
    if (!container::is_plain_file_name(dir->name)) return failure(messages::kCantUseExtractionDir);
    std::string dir_path = *temp_dir + dir->name;
    if (!fits(platform, dir_path.size() + 1)) return failure(messages::kPathTooLong);
    if (!platform.prepare_directory(dir_path)) return failure(messages::kCantUseExtractionDir);
    dir_path += platform.separator();

    auto packed = container::read_packed_record(block, dir->packed_at);
    if (!packed) return failure(packed.error());
    std::unique_ptr<uint8_t[]> list_buffer = platform.allocate(packed->unpacked_size);
    if (!list_buffer) return failure(messages::kInsufficientMemory);
    auto list_size = container::inflate_list(packed->stream, std::span(list_buffer.get(), packed->unpacked_size));
    if (!list_size) return failure(list_size.error());
    block_buffer.reset();
    if (*list_size == 0) return failure(messages::kKernelNotFound);

    auto records = container::read_file_list(ByteView(list_buffer.get(), *list_size));
    if (!records) return failure(records.error());
    std::string kernel_name;
    for (const container::FileRecord& record : *records) {
        if (!container::is_plain_file_name(record.name)) continue;  // never written outside the directory
        if (container::is_kernel_name(record.name)) kernel_name = record.name;  // the last one wins
        std::string file_path = dir_path + std::string(record.name);
        if (!fits(platform, file_path.size())) return failure(messages::kPathTooLong);
        platform.write_file(file_path, record.content);  // a file that cannot be written is skipped
    }
    list_buffer.reset();
    if (kernel_name.empty()) return failure(messages::kKernelNotFound);

    void* library = platform.load_library(dir_path + kernel_name);
    if (!library) return failure(messages::kKernelLoadFailed);
    auto get_new_sock = reinterpret_cast<GetNewSockFn>(platform.find_symbol(library, kEntryExport));
    if (!get_new_sock) return failure(messages::kKernelInvalid);
    auto start = reinterpret_cast<StartFn>(get_new_sock(abi::kKernelVersion));
    if (!start) return failure(messages::kKernelInterfaceInvalid);
    return start;
}

int launch(Platform& platform, const void* image) {
    auto start = prepare_kernel(platform);
    if (!start) {
        platform.show_message(start.error());
        return kExitFailed;
    }
    (*start)(image);
    return kExitRan;
}

}  // namespace brindle::launcher
