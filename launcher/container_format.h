#pragma once
// Byte layout of the payload container appended to the executable: named once, used by reader and writer.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brindle::container {

// Trailer: the last 8 bytes of the file, never scrambled.
inline constexpr size_t kTrailerSize = 8;
inline constexpr size_t kTrailerBlockSizeAt = 0;
inline constexpr size_t kTrailerMagicAt = 4;
inline constexpr uint32_t kContainerMagic = 0x829AB7A5;  // trailer and block start with the same magic

// The trailer must sit at least this far into the file (a file is at least 1008 bytes long).
inline constexpr uint64_t kMinTrailerPosition = 1000;
inline constexpr int32_t kMinBlockSize = 4;

// Block header, in the clear.
inline constexpr size_t kBlockMagicAt = 0;
inline constexpr size_t kPayloadIdAt = 4;
inline constexpr size_t kKeyAt = 8;
inline constexpr size_t kBlockHeaderSize = 12;  // the scrambled body starts here
inline constexpr size_t kBodyAt = kBlockHeaderSize;

// A block must be longer than this: header, the directory name's NUL and the packed record's header.
inline constexpr int32_t kMaxRefusedBlockSize = 20;

// Packed record, right after the directory name's NUL.
inline constexpr uint32_t kPackedMagic = 0x033E0F0D;
inline constexpr size_t kPackedHeaderSize = 8;  // magic, unpacked size; the zlib stream follows

// Both sizes are read as signed 32-bit numbers.
inline constexpr uint64_t kSizeLimit = uint64_t{1} << 31;

using Key = std::array<uint8_t, 4>;

// One file of the payload: its record name and its bytes.
struct PayloadFile {
    std::string name;
    std::vector<uint8_t> content;
};

// Record names that mark the runtime kernel library (ASCII letters compared without case).
inline constexpr std::array<std::string_view, 2> kKernelNames = {"rtcore.rlb", "rtcore.xlb"};

// Directory name used when the container names none: the prefix, then the payload id in upper-case hex.
inline constexpr std::string_view kDefaultDirPrefix = "Q_N";

}  // namespace brindle::container
