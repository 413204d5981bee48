#pragma once
// Relocation records (operand offset × 8 + kind) and the four identifier reference lists.
#include <array>
#include <cstdint>
#include <vector>

namespace brindle::image {

enum class RelocKind : uint8_t {
    Service = 0,  // offset into the kernel service table
    Const = 1,    // offset into the const section's data
    Var = 2,      // offset into the var section's memory
    Code = 3,     // offset into the code section's data
};
inline constexpr uint32_t kRelocKindMask = 7;
inline constexpr uint32_t kMaxRelocKind = 3;

struct Relocation {
    RelocKind kind;
    uint32_t offset;  // of a 4-byte operand within the code section's data

    uint32_t encode() const { return offset << 3 | static_cast<uint32_t>(kind); }
    friend bool operator==(const Relocation&, const Relocation&) = default;
};

// Decodes a record value; the kind may be out of range (4 to 7) and is checked by the reader.
inline uint32_t reloc_kind_bits(uint32_t record) { return record & kRelocKindMask; }
inline uint32_t reloc_offset_bits(uint32_t record) { return record >> 3; }

// Where the code holds identifiers that belong to the form section and the library table.
enum class ReferenceList : uint8_t {
    Identifiers = 0,     // window and element identifiers pushed by the code
    Unused = 1,          // always empty
    LibraryNumbers = 2,  // extension library numbers loaded for a call
    KindCodes = 3,       // kind codes pushed as type tags
};
using ReferenceLists = std::array<std::vector<uint32_t>, 4>;  // code offsets, each list sorted

}  // namespace brindle::image
