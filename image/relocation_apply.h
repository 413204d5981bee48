#pragma once
// Turning the code's relocatable operands into addresses: checking records against the sections
// they point into, and applying them exactly once.
#include <cstdint>
#include <span>
#include <vector>

#include "common/bytes.h"
#include "common/result.h"
#include "image/relocation.h"

namespace brindle::image {

// Decodes `count` records from `records` (4 bytes each); kinds 4 to 7 are refused.
// `base_offset` is where the records lie in the image, for errors.
Result<std::vector<Relocation>> read_relocations(ByteView records, uint64_t base_offset = 0);

// Sizes of what the operands point into.
struct RelocTargets {
    uint32_t code_size = 0;
    uint32_t const_size = 0;
    uint32_t var_size = 0;
};

// Each operand lies inside the code and points inside the area its kind names (a service operand is
// a multiple of 4 below the table's size). `records_offset` locates record 0 in the image for errors.
Result<void> check_relocations(ByteView code, std::span<const Relocation> relocations, const RelocTargets& targets,
                               uint64_t records_offset = 0);

// Load addresses of the four areas an operand may be relative to (32-bit, as the code sees them).
struct RelocBases {
    uint32_t service_table = 0;
    uint32_t const_data = 0;
    uint32_t var_memory = 0;
    uint32_t code = 0;

    uint32_t of(RelocKind kind) const;
};

// A writable copy of the code with its records; apply() adds each record's base once and refuses
// a second application.
class RelocatableCode {
public:
    RelocatableCode(Bytes code, std::vector<Relocation> relocations)
        : code_(std::move(code)), relocations_(std::move(relocations)) {}

    Result<void> apply(const RelocBases& bases);
    bool applied() const { return applied_; }
    const Bytes& code() const { return code_; }
    Bytes& code() { return code_; }
    const std::vector<Relocation>& relocations() const { return relocations_; }

private:
    Bytes code_;
    std::vector<Relocation> relocations_;
    bool applied_ = false;
};

}  // namespace brindle::image
