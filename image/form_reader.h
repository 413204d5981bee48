#pragma once
// Reads the data of the section "form" into the form model, checking every structural rule.
#include <cstdint>
#include <optional>

#include "common/bytes.h"
#include "common/result.h"
#include "image/form_model.h"

namespace brindle::image {

// `base_offset` is the data's offset in the image (errors name image offsets). With `code_size`,
// every bound code offset must lie inside the code data.
Result<FormModel> read_form(ByteView data, uint64_t base_offset = 0, std::optional<uint32_t> code_size = std::nullopt);

// The structural rules that hold between elements: identifiers, kinds, parents and children, tab
// separators, menu levels, code offsets. The reader runs it; the writer runs it before writing.
Result<void> check_form(const FormModel& form, std::optional<uint32_t> code_size = std::nullopt);

}  // namespace brindle::image
