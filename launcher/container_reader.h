#pragma once
// Reads the payload container, one check at a time so the launch sequence can interleave its own steps.
// Every failure carries the launcher's message for it, plus the field and its offset in the file
// (block_at is the block's file offset); a record of the unpacked list names its offset in that list.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/bytes.h"
#include "common/result.h"
#include "launcher/container_format.h"

namespace brindle::container {

// The trailer's offset in a file of this size; refused when the file is too short to hold a container.
Result<uint64_t> trailer_position(uint64_t file_size);

// Checks the 8 trailer bytes against the trailer's position; returns the block size S.
Result<uint32_t> read_trailer(ByteView trailer, uint64_t trailer_position);

struct BlockHeader {
    uint32_t payload_id = 0;
    Key key{};
};

// Checks the block's magic and that its header is complete.
Result<BlockHeader> read_block_header(ByteView block, uint64_t block_at);

struct DirName {
    std::string name;       // as stored, or the default name
    bool is_default = false;
    size_t packed_at = 0;   // block offset of the packed record
};

// "Q_N" and the id in upper-case hex without leading zeros.
std::string default_dir_name(uint32_t payload_id);

// Reads the (descrambled) directory-name field.
Result<DirName> read_dir_name(ByteView block, uint32_t payload_id, uint64_t block_at);

struct PackedRecord {
    uint32_t unpacked_size = 0;  // U, above 0 and below 2^31
    ByteView stream;             // the zlib stream: the rest of the block
};

Result<PackedRecord> read_packed_record(ByteView block, size_t packed_at, uint64_t block_at);

// Inflates the whole stream into out (capacity U) in one call; returns the length produced (at most U).
Result<size_t> inflate_list(ByteView stream, std::span<uint8_t> out);
// The same result, with memory that grows with what inflation produces rather than with the U the
// container claims (for tools that read containers they did not make).
Result<Bytes> inflate_list_growing(ByteView stream, uint32_t unpacked_size);

struct FileRecord {
    std::string_view name;
    ByteView content;
};

// Splits the unpacked list into records; refuses a record that runs past the end.
Result<std::vector<FileRecord>> read_file_list(ByteView list);

// "rtcore.rlb" or "rtcore.xlb", ASCII letters compared without case.
bool is_kernel_name(std::string_view name);

// A name that stays inside the extraction directory: not empty, no separator, not "." or "..".
bool is_plain_file_name(std::string_view name);

// The whole container at the end of a file, checked and unpacked (for tools; the launcher goes step by step).
struct Container {
    uint32_t payload_id = 0;
    Key key{};
    DirName dir;
    uint32_t unpacked_size = 0;
    std::vector<PayloadFile> files;
    uint64_t block_at = 0;  // file offset of the block
};

Result<Container> read_container(ByteView file);

}  // namespace brindle::container
