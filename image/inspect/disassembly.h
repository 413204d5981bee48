#pragma once
// The code section as x86-32 instructions, each operand that a relocation record or a reference
// list marks annotated with what it holds.
#include <ostream>

#include "image/image_reader.h"

namespace brindle::inspect {

void print_disassembly(const image::Image& image, std::ostream& out);

}  // namespace brindle::inspect
