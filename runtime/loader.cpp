#include "runtime/loader.h"

#include <cstring>

#include "common/try.h"
#include "image/relocation_apply.h"

namespace brindle::runtime {
namespace {

Result<void> map_piece(Machine& machine, uint32_t base, uint32_t size, std::string_view what) {
    if (size > memory_map::kMaxPieceSize)
        return fail("is " + std::to_string(size) + " bytes, more than the kernel maps", std::string(what));
    return machine.map(base, memory_map::page_round_up(size == 0 ? 1 : size), what);
}

}  // namespace

Result<ProgramParts> program_parts(const image::Image& image) {
    const image::Section* code = image.code_section();
    const image::Section* constants = image.const_section();
    const image::Section* var = image.var_section();
    if (!code) return fail("the image has no code section", "code_header_offset");
    if (!constants) return fail("the image has no const section", "const_header_offset");
    if (!var) return fail("the image has no var section", "var_header_offset");
    ProgramParts parts;
    parts.code = code->data;
    parts.constants = constants->data;
    parts.var_size = var->memory_size;
    parts.relocations = code->relocations;
    parts.references = image.reference_lists;
    parts.entry_offset = image.entry_code_offset();
    return parts;
}

Result<LoadedProgram> place_program(Machine& machine, const ProgramParts& parts, const LoadLayout& layout) {
    if (parts.code.size() > memory_map::kMaxPieceSize) return fail("code section is too large", "code");
    if (parts.constants.size() > memory_map::kMaxPieceSize) return fail("const section is too large", "const");
    LoadedProgram program;
    program.code_base = layout.code_base;
    program.code_size = static_cast<uint32_t>(parts.code.size());
    program.const_base = layout.const_base;
    program.const_size = static_cast<uint32_t>(parts.constants.size());
    program.var_base = layout.var_base;
    program.var_size = parts.var_size;
    program.entry_offset = parts.entry_offset;

    if (parts.entry_offset >= program.code_size)
        return fail("entry routine lies outside the code", "entry offset", parts.entry_offset);
    for (size_t list = 0; list < parts.references.size(); ++list)
        for (uint32_t offset : parts.references[list])
            if (uint64_t(offset) + 4 > program.code_size)
                return fail("identifier reference list " + std::to_string(list + 1) + " marks an operand outside the code",
                            "reference", offset);

    BRINDLE_CHECK(map_piece(machine, program.code_base, program.code_size, "code"));
    BRINDLE_CHECK(map_piece(machine, program.const_base, program.const_size, "const"));
    BRINDLE_CHECK(map_piece(machine, program.var_base, program.var_size, "var"));
    BRINDLE_CHECK(machine.write(program.code_base, parts.code));
    BRINDLE_CHECK(machine.write(program.const_base, parts.constants));
    program.references = parts.references;
    return program;
}

Result<void> relocate_program(Machine& machine, LoadedProgram& program, std::span<const image::Relocation> records,
                              uint32_t service_table) {
    if (program.relocated) return fail("relocation records were already applied; applying them twice corrupts the code");
    uint8_t* code = machine.host(program.code_base, program.code_size);
    if (!code) return fail("code is not mapped", "code", program.code_base);
    ByteView placed(code, program.code_size);
    if (auto r = image::check_relocations(placed, records, {program.code_size, program.const_size, program.var_size},
                                          Error::kNoOffset);
        !r)
        return r;
    image::RelocatableCode relocatable(Bytes(placed.begin(), placed.end()), {records.begin(), records.end()});
    if (auto r = relocatable.apply({service_table, program.const_base, program.var_base, program.code_base}); !r)
        return r;
    std::memcpy(code, relocatable.code().data(), program.code_size);
    program.relocated = true;
    return {};
}

}  // namespace brindle::runtime
