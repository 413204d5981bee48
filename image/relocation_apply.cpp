#include "image/relocation_apply.h"

#include <algorithm>

#include "common/hex.h"
#include "common/try.h"
#include "image/kernel_abi.h"

namespace brindle::image {

Result<std::vector<Relocation>> read_relocations(ByteView records, uint64_t base_offset) {
    ByteCursor c(records, 0, base_offset);
    std::vector<Relocation> out;
    out.reserve(records.size() / 4);
    while (!c.at_end()) {
        BRINDLE_TRY(uint32_t value, c.u32("relocation record"));
        uint32_t kind = reloc_kind_bits(value);
        if (kind > kMaxRelocKind)
            return fail("relocation kind " + std::to_string(kind) + " is not 0 to 3", "reloc_kind", c.offset() - 4);
        out.push_back({static_cast<RelocKind>(kind), reloc_offset_bits(value)});
    }
    return out;
}

Result<void> check_relocations(ByteView code, std::span<const Relocation> relocations, const RelocTargets& t,
                               uint64_t records_offset) {
    for (size_t i = 0; i < relocations.size(); ++i) {
        const Relocation& r = relocations[i];
        const uint64_t at = records_offset == Error::kNoOffset ? Error::kNoOffset : records_offset + 4 * i;
        if (uint64_t(r.offset) + 4 > code.size())
            return fail("operand at code offset " + hex(r.offset) + " runs past the code data", "reloc_offset", at);
        const uint32_t operand = load_u32le(code.data() + r.offset);
        switch (r.kind) {
            case RelocKind::Service:
                if (operand % 4 != 0 || operand >= abi::service::kTableSize)
                    return fail("service operand " + hex(operand) + " is not an entry of the service table", "operand", at);
                break;
            case RelocKind::Const:
                if (operand >= t.const_size)
                    return fail("constant operand " + hex(operand) + " lies outside the const data", "operand", at);
                break;
            case RelocKind::Var:
                if (operand >= t.var_size)
                    return fail("variable operand " + hex(operand) + " lies outside the var memory", "operand", at);
                break;
            case RelocKind::Code:
                if (operand >= t.code_size)
                    return fail("code operand " + hex(operand) + " lies outside the code data", "operand", at);
                break;
        }
    }
    // Operands must not overlap: each must receive exactly one base.
    std::vector<std::pair<uint32_t, size_t>> by_offset;
    for (size_t i = 0; i < relocations.size(); ++i) by_offset.emplace_back(relocations[i].offset, i);
    std::sort(by_offset.begin(), by_offset.end());
    for (size_t i = 1; i < by_offset.size(); ++i)
        if (by_offset[i].first - by_offset[i - 1].first < 4)
            return fail("operands at code offsets " + hex(by_offset[i - 1].first) + " and " + hex(by_offset[i].first) +
                            " overlap",
                        "reloc_offset",
                        records_offset == Error::kNoOffset ? Error::kNoOffset : records_offset + 4 * by_offset[i].second);
    return {};
}

uint32_t RelocBases::of(RelocKind kind) const {
    switch (kind) {
        case RelocKind::Service: return service_table;
        case RelocKind::Const: return const_data;
        case RelocKind::Var: return var_memory;
        case RelocKind::Code: return code;
    }
    return 0;
}

Result<void> RelocatableCode::apply(const RelocBases& bases) {
    if (applied_) return fail("relocations have already been applied to this code", "relocations");
    // Check every operand first so that a bad record leaves the code untouched.
    for (const Relocation& r : relocations_) {
        if (static_cast<uint32_t>(r.kind) > kMaxRelocKind)
            return fail("relocation kind is not 0 to 3", "reloc_kind");
        if (uint64_t(r.offset) + 4 > code_.size())
            return fail("operand at code offset " + hex(r.offset) + " runs past the code data", "reloc_offset");
    }
    for (const Relocation& r : relocations_) {
        uint8_t* operand = code_.data() + r.offset;
        store_u32le(operand, load_u32le(operand) + bases.of(r.kind));
    }
    applied_ = true;
    return {};
}

}  // namespace brindle::image
