#include "app/pictures/icons.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace brindle;

namespace {

struct Entry {
    int size, bits;
    uint32_t length, offset;
};

std::vector<Entry> directory(const Bytes& ico) {
    ByteCursor c(ico);
    EXPECT_EQ(*c.u16("reserved"), 0);
    EXPECT_EQ(*c.u16("type"), 1);
    uint16_t count = *c.u16("count");
    std::vector<Entry> entries;
    for (int i = 0; i < count; ++i) {
        int width = *c.u8("width");
        int height = *c.u8("height");
        EXPECT_EQ(width, height);
        c.skip(2, "colours, reserved").value();
        EXPECT_EQ(*c.u16("planes"), 1);
        int bits = *c.u16("bits");
        uint32_t length = *c.u32("length");
        uint32_t offset = *c.u32("offset");
        entries.push_back({width, bits, length, offset});
    }
    return entries;
}

}  // namespace

TEST(Icons, TrayIconHoldsTheTwentyImagesInOrder) {
    const Bytes ico = app::tray_icon_file();
    const std::vector<std::pair<int, int>> expected{
        {48, 1}, {32, 1}, {16, 1}, {48, 4}, {32, 4}, {24, 4}, {16, 4}, {48, 8}, {32, 8}, {24, 8},
        {16, 8}, {128, 32}, {96, 32}, {80, 32}, {72, 32}, {64, 32}, {48, 32}, {32, 32}, {24, 32}, {16, 32}};
    auto entries = directory(ico);
    ASSERT_EQ(entries.size(), expected.size());
    uint32_t next = 6 + 16 * uint32_t(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].size % 256, expected[i].first);
        EXPECT_EQ(entries[i].bits, expected[i].second);
        EXPECT_EQ(entries[i].offset, next);  // images back to back, the last one ending the file
        next += entries[i].length;
        // Each image is a DIB whose height counts the colour rows and the mask rows.
        ByteCursor dib(ico, entries[i].offset);
        EXPECT_EQ(*dib.u32("header size"), 40u);
        EXPECT_EQ(*dib.i32("width"), expected[i].first);
        EXPECT_EQ(*dib.i32("height"), 2 * expected[i].first);
        dib.skip(2, "planes").value();
        EXPECT_EQ(*dib.u16("bits"), expected[i].second);
    }
    EXPECT_EQ(next, ico.size());
}

TEST(Icons, WindowIconIsOne128PixelTrueColourImageWithTransparentCorners) {
    const Bytes ico = app::window_icon_file();
    auto entries = directory(ico);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].size, 128);
    EXPECT_EQ(entries[0].bits, 32);
    ASSERT_EQ(entries[0].offset + entries[0].length, ico.size());
    // Rows run bottom-up: the first pixel is the lower left corner, outside the rounded tile.
    const size_t pixels = entries[0].offset + 40;
    EXPECT_EQ(ico[pixels + 3], 0);
    const size_t centre = pixels + (64 * 128 + 40) * 4;
    EXPECT_EQ(ico[centre + 3], 255);
    // The mask marks the transparent corner.
    const size_t mask = pixels + 128 * 128 * 4;
    EXPECT_EQ(ico[mask] & 0x80, 0x80);
}
