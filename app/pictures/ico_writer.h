#pragma once
// Windows ICO files from RGBA pictures: each image stored as a DIB at 1, 4, 8 or 32 bits per pixel.
#include <cstdint>
#include <vector>

#include "common/bytes.h"

namespace brindle::app {

struct Rgba {
    uint8_t r, g, b, a;
};

struct Picture {
    int size = 0;              // square
    std::vector<Rgba> pixels;  // size × size, top row first
};

struct IcoImage {
    Picture picture;
    int bits_per_pixel;  // 1, 4, 8 or 32
};

Bytes write_ico(const std::vector<IcoImage>& images);

}  // namespace brindle::app
