#include "launcher/container_reader.h"
#include "common/try.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <zlib.h>

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

Result<BlockHeader> read_block_header(ByteView block) {
    if (block.size() < 4 || load_u32le(block.data() + kBlockMagicAt) != kContainerMagic)
        return refuse(messages::kFailedToReadFile, "block_magic", kBlockMagicAt);
    if (block.size() < kBlockHeaderSize) return refuse(messages::kInvalidData, "block header", block.size());
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

Result<DirName> read_dir_name(ByteView block, uint32_t payload_id) {
    if (block.size() <= kBodyAt) return refuse(messages::kInvalidData, "dir_name", kBodyAt);
    auto begin = block.begin() + kBodyAt;
    auto nul = std::find(begin, block.end(), uint8_t{0});
    if (nul == block.end()) return refuse(messages::kInvalidData, "dir_name", kBodyAt);
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

Result<PackedRecord> read_packed_record(ByteView block, size_t packed_at) {
    if (block.size() <= static_cast<size_t>(kMaxRefusedBlockSize))
        return refuse(messages::kInvalidData, "block_size", 0);
    if (packed_at > block.size() || block.size() - packed_at < kPackedHeaderSize)
        return refuse(messages::kInvalidData, "packed_magic", packed_at);
    if (load_u32le(block.data() + packed_at) != kPackedMagic)
        return refuse(messages::kInvalidData, "packed_magic", packed_at);
    auto unpacked = static_cast<int32_t>(load_u32le(block.data() + packed_at + 4));
    if (unpacked <= 0) return refuse(messages::kInvalidData, "unpacked_size", packed_at + 4);
    return PackedRecord{static_cast<uint32_t>(unpacked), block.subspan(packed_at + kPackedHeaderSize)};
}

Result<size_t> inflate_list(ByteView stream, std::span<uint8_t> out) {
    uLongf produced = out.size();
    int status = uncompress(out.data(), &produced, stream.data(), stream.size());
    if (status != Z_OK) return refuse(messages::kDecompressFailed, "packed_stream", 0);
    return static_cast<size_t>(produced);
}

Result<std::vector<FileRecord>> read_file_list(ByteView list) {
    std::vector<FileRecord> records;
    ByteCursor cursor(list);
    while (!cursor.at_end()) {
        size_t at = cursor.pos();
        auto name = cursor.cstring("record_name");
        if (!name) return refuse(messages::kInvalidData, "record_name", at);
        size_t name_len = name->size();
        auto length = cursor.u32("record_length");
        if (!length) return refuse(messages::kInvalidData, "record_length", cursor.pos());
        auto content = cursor.bytes(*length, "record_content");
        if (!content) return refuse(messages::kInvalidData, "record_content", cursor.pos());
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
    BRINDLE_TRY(auto header, read_block_header(block));
    c.payload_id = header.payload_id;
    c.key = header.key;
    scramble_body(block, c.key);
    BRINDLE_TRY(auto dir, read_dir_name(block, c.payload_id));
    c.dir = dir;
    BRINDLE_TRY(auto packed, read_packed_record(block, dir.packed_at));
    c.unpacked_size = packed.unpacked_size;
    Bytes list;
    try {
        list.resize(c.unpacked_size);
    } catch (const std::bad_alloc&) {
        return refuse(messages::kInsufficientMemory, "unpacked_size", dir.packed_at + 4);
    }
    BRINDLE_TRY(auto produced, inflate_list(packed.stream, list));
    list.resize(produced);
    BRINDLE_TRY(auto records, read_file_list(list));
    for (const FileRecord& r : records)
        c.files.push_back({std::string(r.name), Bytes(r.content.begin(), r.content.end())});
    return c;
}

}  // namespace brindle::container
