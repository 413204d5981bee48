#pragma once
// The code section's shared helpers: text compare, text length, concatenation, float-to-integer.
#include "codegen/context.h"

namespace brindle::codegen {

// Binds the helper's label and emits its body at the current position.
void emit_helper(EmitContext& ctx, Helper helper);

}  // namespace brindle::codegen
