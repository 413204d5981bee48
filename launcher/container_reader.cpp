#include "launcher/container_reader.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <zlib.h>

#include "common/try.h"
#include "launcher/messages.h"
#include "launcher/scramble.h"

namespace brindle::container {
namespace {

std::unexpected<Error> refuse(std::string_view message, std::string field, uint64_t offset) {
    return fail(std::string(message), std::move(field), offset);
}

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool equal_ignoring_ascii_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return ascii_lower(x) == ascii_lower(y); });
}

}  // namespace

Result<uint64_t> trailer_position(uint64_t file_size) {
    if (file_size < kMinTrailerPosition + kTrailerSize)
        return refuse(messages::kInvalidData, "file size", file_size);
    return file_size - kTrailerSize;
}

Result<uint32_t> read_trailer(ByteView trailer, uint64_t trailer_position) {
    if (trailer.size() != kTrailerSize) return refuse(messages::kFailedToReadData, "trailer", trailer_position);
    if (load_u32le(trailer.data() + kTrailerMagicAt) != kContainerMagic)
        return refuse(messages::kInvalidData, "trailer_magic", trailer_position + kTrailerMagicAt);
    auto size = static_cast<int32_t>(load_u32le(trailer.data() + kTrailerBlockSizeAt));
    // Signed comparisons: a size with the top bit set is negative and refused.
    if (size < kMinBlockSize || int64_t{size} >= static_cast<int64_t>(trailer_position))
        return refuse(messages::kInvalidData, "block_size", trailer_position + kTrailerBlockSizeAt);
    return static_cast<uint32_t>(size);
}

Result<BlockHeader> read_block_header(ByteView block, uint64_t block_at) {
    if (block.size() < 4 || load_u32le(block.data() + kBlockMagicAt) != kContainerMagic)
        return refuse(messages::kFailedToReadFile, "block_magic", block_at + kBlockMagicAt);
    if (block.size() < kBlockHeaderSize) return refuse(messages::kInvalidData, "block header", block_at + block.size());
    BlockHeader header;
    header.payload_id = load_u32le(block.data() + kPayloadIdAt);
    std::copy_n(block.data() + kKeyAt, header.key.size(), header.key.begin());
    return header;
}

std::string default_dir_name(uint32_t payload_id) {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%X", payload_id);
    return std::string(kDefaultDirPrefix) + hex;
}

Result<DirName> read_dir_name(ByteView block, uint32_t payload_id, uint64_t block_at) {
    if (block.size() <= kBodyAt) return refuse(messages::kInvalidData, "dir_name", block_at + kBodyAt);
    auto begin = block.begin() + kBodyAt;
    auto nul = std::find(begin, block.end(), uint8_t{0});
    if (nul == block.end()) return refuse(messages::kInvalidData, "dir_name", block_at + kBodyAt);
    DirName dir;
    dir.packed_at = static_cast<size_t>(nul - block.begin()) + 1;
    if (nul == begin) {
        dir.name = default_dir_name(payload_id);
        dir.is_default = true;
    } else {
        dir.name.assign(begin, nul);
    }
    return dir;
}

Result<PackedRecord> read_packed_record(ByteView block, size_t packed_at, uint64_t block_at) {
    // The block size is read from the trailer, right after the block.
    if (block.size() <= static_cast<size_t>(kMaxRefusedBlockSize))
        return refuse(messages::kInvalidData, "block_size", block_at + block.size() + kTrailerBlockSizeAt);
    if (packed_at > block.size() || block.size() - packed_at < kPackedHeaderSize)
        return refuse(messages::kInvalidData, "packed_magic", block_at + packed_at);
    if (load_u32le(block.data() + packed_at) != kPackedMagic)
        return refuse(messages::kInvalidData, "packed_magic", block_at + packed_at);
    auto unpacked = static_cast<int32_t>(load_u32le(block.data() + packed_at + 4));
    if (unpacked <= 0) return refuse(messages::kInvalidData, "unpacked_size", block_at + packed_at + 4);
    return PackedRecord{static_cast<uint32_t>(unpacked), block.subspan(packed_at + kPackedHeaderSize)};
}

Result<size_t> inflate_list(ByteView stream, std::span<uint8_t> out) {
    uLongf produced = out.size();
    int status = uncompress(out.data(), &produced, stream.data(), stream.size());
    if (status != Z_OK) return refuse(messages::kDecompressFailed, "packed_stream", Error::kNoOffset);
    return static_cast<size_t>(produced);
}

Result<Bytes> inflate_list_growing(ByteView stream, uint32_t unpacked_size) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return refuse(messages::kInsufficientMemory, "packed_stream", Error::kNoOffset);
    Bytes out;
    int status = Z_OK;
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());  // below 2^31: the block's size bounds it
    try {
        // Grows by doubling from a small start, never beyond U: a claimed size costs nothing until
        // inflation produces it.
        // Once U bytes are out, inflate still runs with no room left: it ends a stream whose rest
        // produces nothing (Z_STREAM_END) and reports one that would produce more (Z_BUF_ERROR).
        while (status == Z_OK) {
            if (out.size() == z.total_out && out.size() < unpacked_size)
                out.resize(std::min<size_t>(unpacked_size, std::max<size_t>(out.size() * 2, 64 * 1024)));
            z.next_out = out.data() + z.total_out;
            z.avail_out = static_cast<uInt>(out.size() - z.total_out);
            status = inflate(&z, Z_NO_FLUSH);
        }
    } catch (const std::bad_alloc&) {
        inflateEnd(&z);
        return refuse(messages::kInsufficientMemory, "unpacked_size", Error::kNoOffset);
    }
    size_t produced = z.total_out;
    inflateEnd(&z);
    // As uncompress: only a complete stream whose output fits U is accepted.
    if (status != Z_STREAM_END) return refuse(messages::kDecompressFailed, "packed_stream", Error::kNoOffset);
    out.resize(produced);
    return out;
}

Result<std::vector<FileRecord>> read_file_list(ByteView list) {
    std::vector<FileRecord> records;
    ByteCursor cursor(list);
    while (!cursor.at_end()) {
        size_t at = cursor.pos();
        auto name = cursor.cstring("record_name");
        if (!name) return refuse(messages::kInvalidData, "unpacked list: record_name", at);
        size_t name_len = name->size();
        auto length = cursor.u32("record_length");
        if (!length) return refuse(messages::kInvalidData, "unpacked list: record_length", cursor.pos());
        auto content = cursor.bytes(*length, "record_content");
        if (!content) return refuse(messages::kInvalidData, "unpacked list: record_content", cursor.pos());
        records.push_back({std::string_view(reinterpret_cast<const char*>(list.data() + at), name_len), *content});
    }
    return records;
}

bool is_kernel_name(std::string_view name) {
    return std::any_of(kKernelNames.begin(), kKernelNames.end(),
                       [&](std::string_view k) { return equal_ignoring_ascii_case(name, k); });
}

bool is_plain_file_name(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string_view::npos;
}

Result<Container> read_container(ByteView file) {
    BRINDLE_TRY(auto position, trailer_position(file.size()));
    BRINDLE_TRY(auto size, read_trailer(file.subspan(position, kTrailerSize), position));
    Container c;
    c.block_at = position - size;
    Bytes block(file.begin() + c.block_at, file.begin() + position);
    BRINDLE_TRY(auto header, read_block_header(block, c.block_at));
    c.payload_id = header.payload_id;
    c.key = header.key;
    scramble_body(block, c.key);
    BRINDLE_TRY(c.dir, read_dir_name(block, c.payload_id, c.block_at));
    BRINDLE_TRY(auto packed, read_packed_record(block, c.dir.packed_at, c.block_at));
    c.unpacked_size = packed.unpacked_size;
    auto list = inflate_list_growing(packed.stream, c.unpacked_size);
    if (!list) {
        Error e = list.error();
        e.offset = c.block_at + c.dir.packed_at + (e.field == "packed_stream" ? kPackedHeaderSize : 4);
        return std::unexpected(e);
    }
    BRINDLE_TRY(auto records, read_file_list(*list));
    for (const FileRecord& r : records)
        c.files.push_back({std::string(r.name), Bytes(r.content.begin(), r.content.end())});
    return c;
}

}  // namespace brindle::container
