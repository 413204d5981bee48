#include "app/pictures/ico_writer.h"

#include <array>
#include <map>
#include <stdexcept>

namespace brindle::app {
namespace {

constexpr uint32_t kDibHeaderSize = 40;
constexpr size_t kDirEntrySize = 16;

size_t row_bytes(int width, int bits) { return ((size_t(width) * bits + 31) / 32) * 4; }

// The 16 colours of the classic 4-bit palette.
constexpr std::array<Rgba, 16> kVgaPalette{{
    {0, 0, 0, 0}, {128, 0, 0, 0}, {0, 128, 0, 0}, {128, 128, 0, 0},
    {0, 0, 128, 0}, {128, 0, 128, 0}, {0, 128, 128, 0}, {192, 192, 192, 0},
    {128, 128, 128, 0}, {255, 0, 0, 0}, {0, 255, 0, 0}, {255, 255, 0, 0},
    {0, 0, 255, 0}, {255, 0, 255, 0}, {0, 255, 255, 0}, {255, 255, 255, 0},
}};

// 6 × 6 × 6 colour cube plus a grey ramp: good enough for an 8-bit icon.
std::vector<Rgba> cube_palette() {
    std::vector<Rgba> p;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) p.push_back({uint8_t(r * 51), uint8_t(g * 51), uint8_t(b * 51), 0});
    for (int i = 0; p.size() < 256; ++i) p.push_back({uint8_t(8 + i * 6), uint8_t(8 + i * 6), uint8_t(8 + i * 6), 0});
    return p;
}

std::vector<Rgba> palette_for(int bits) {
    if (bits == 1) return {{0, 0, 0, 0}, {255, 255, 255, 0}};
    if (bits == 4) return {kVgaPalette.begin(), kVgaPalette.end()};
    if (bits == 8) return cube_palette();
    return {};
}

int nearest(const std::vector<Rgba>& palette, Rgba c) {
    int best = 0, best_distance = INT32_MAX;
    for (size_t i = 0; i < palette.size(); ++i) {
        int dr = c.r - palette[i].r, dg = c.g - palette[i].g, db = c.b - palette[i].b;
        int d = dr * dr + dg * dg + db * db;
        if (d < best_distance) best_distance = d, best = int(i);
    }
    return best;
}

// In black and white only the brightest parts stay white, so light marks on a tile stay readable.
int luminance(Rgba c) { return (299 * c.r + 587 * c.g + 114 * c.b) / 1000; }

Bytes encode_dib(const IcoImage& image) {
    const Picture& pic = image.picture;
    const int n = pic.size, bits = image.bits_per_pixel;
    if (pic.pixels.size() != size_t(n) * n) throw std::invalid_argument("picture size and pixel count differ");
    const std::vector<Rgba> palette = palette_for(bits);
    const size_t color_row = row_bytes(n, bits), mask_row = row_bytes(n, 1);

    ByteWriter w;
    w.u32(kDibHeaderSize);
    w.i32(n);
    w.i32(2 * n);  // colour rows and mask rows together
    w.u16(1);
    w.u16(uint16_t(bits));
    w.u32(0);
    w.u32(uint32_t((color_row + mask_row) * n));
    w.u32(0);
    w.u32(0);
    w.u32(uint32_t(palette.size()));
    w.u32(0);
    for (Rgba c : palette) {
        w.u8(c.b);
        w.u8(c.g);
        w.u8(c.r);
        w.u8(0);
    }
    // Rows are stored bottom-up.
    std::map<uint32_t, int> cache;
    for (int y = n - 1; y >= 0; --y) {
        Bytes row(color_row, 0);
        for (int x = 0; x < n; ++x) {
            Rgba c = pic.pixels[size_t(y) * n + x];
            if (bits == 32) {
                row[x * 4 + 0] = c.b, row[x * 4 + 1] = c.g, row[x * 4 + 2] = c.r, row[x * 4 + 3] = c.a;
                continue;
            }
            uint32_t key = uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
            auto [it, added] = cache.try_emplace(key, 0);
            if (added) it->second = bits == 1 ? luminance(c) > 200 : nearest(palette, c);
            int index = c.a < 128 ? 0 : it->second;
            int bit = x * bits;
            row[bit / 8] |= uint8_t(index << (8 - bits - bit % 8));
        }
        w.raw(row);
    }
    // The mask marks transparent pixels with 1.
    for (int y = n - 1; y >= 0; --y) {
        Bytes row(mask_row, 0);
        for (int x = 0; x < n; ++x)
            if (pic.pixels[size_t(y) * n + x].a < 128) row[x / 8] |= uint8_t(0x80 >> (x % 8));
        w.raw(row);
    }
    return std::move(w.bytes());
}

}  // namespace

Bytes write_ico(const std::vector<IcoImage>& images) {
    std::vector<Bytes> dibs;
    for (const IcoImage& image : images) dibs.push_back(encode_dib(image));

    ByteWriter w;
    w.u16(0);
    w.u16(1);  // icon
    w.u16(uint16_t(images.size()));
    uint32_t offset = uint32_t(6 + kDirEntrySize * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int n = images[i].picture.size, bits = images[i].bits_per_pixel;
        w.u8(uint8_t(n >= 256 ? 0 : n));
        w.u8(uint8_t(n >= 256 ? 0 : n));
        w.u8(uint8_t(bits < 8 ? 1 << bits : 0));
        w.u8(0);
        w.u16(1);
        w.u16(uint16_t(bits));
        w.u32(uint32_t(dibs[i].size()));
        w.u32(offset);
        offset += uint32_t(dibs[i].size());
    }
    for (const Bytes& dib : dibs) w.raw(dib);
    return std::move(w.bytes());
}

}  // namespace brindle::app
