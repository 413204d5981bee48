#pragma once
// Places a program's code, constants and variable memory into the emulator and applies its relocation
// records, once.
#include <cstdint>
#include <span>
#include <vector>

#include "common/bytes.h"
#include "common/result.h"
#include "image/image_reader.h"
#include "image/relocation.h"
#include "runtime/machine.h"
#include "runtime/memory_map.h"

namespace brindle::runtime {

// What the kernel needs of an image, taken from its sections.
struct ProgramParts {
    ByteView code;                   // the code section's data
    ByteView constants;              // the const section's data
    uint32_t var_size = 0;           // the var section's memory size
    std::vector<image::Relocation> relocations;  // the code section's records
    image::ReferenceLists references;   // the identifier reference lists
    uint32_t entry_offset = 0;       // code offset of the entry routine
};

struct LoadLayout {
    uint32_t code_base = memory_map::kCodeBase;
    uint32_t const_base = memory_map::kConstBase;
    uint32_t var_base = memory_map::kVarBase;
};

struct LoadedProgram {
    uint32_t code_base = 0, code_size = 0;
    uint32_t const_base = 0, const_size = 0;
    uint32_t var_base = 0, var_size = 0;
    uint32_t entry_offset = 0;
    image::ReferenceLists references;
    bool relocated = false;

    uint32_t entry_address() const { return code_base + entry_offset; }
    uint32_t code_address(uint32_t offset) const { return code_base + offset; }
};

// The pieces of an opened image; an image without code, constants or variables is refused.
Result<ProgramParts> program_parts(const image::Image& image);

// Maps the three pieces (var memory zeroed) and copies code and constants in. Checks the entry offset
// and the reference lists against the code.
Result<LoadedProgram> place_program(Machine& machine, const ProgramParts& parts, const LoadLayout& layout = {});

// Adds each record's base (service table, constants, var memory, code) to its operand. Every record is
// checked before any is applied, so a bad image leaves the code untouched. A second call is refused:
// applying the records twice would corrupt the code.
Result<void> relocate_program(Machine& machine, LoadedProgram& program, std::span<const image::Relocation> records,
                              uint32_t service_table);

}  // namespace brindle::runtime
