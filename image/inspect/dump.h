#pragma once
// The inspector's two views of an opened image: a readable listing and one JSON document.
#include <ostream>
#include <string_view>

#include "image/image_reader.h"

namespace brindle::inspect {

void print_json(const image::Image& image, std::ostream& out);
void print_listing(const image::Image& image, std::ostream& out);

// "GIF", "ICO" or "unknown", from the picture's first bytes.
std::string_view picture_format(ByteView picture);
// A readable name of a kind code ("edit box"), or "unknown".
std::string_view kind_name(uint32_t kind);

}  // namespace brindle::inspect
