#include "common/bytes.h"

#include <gtest/gtest.h>

using namespace brindle;

TEST(ByteCursor, ReadsLittleEndianFieldsInOrder) {
    const Bytes data{0x57, 0x4A, 0, 0, 0x34, 0x12, 'a', 'b', 0, 2, 0, 0, 0, 'x', 'y'};
    ByteCursor c(data);
    EXPECT_EQ(*c.u32("magic"), 0x4A57u);
    EXPECT_EQ(*c.u16("half"), 0x1234u);
    EXPECT_EQ(*c.cstring("name"), "ab");
    EXPECT_EQ(*c.counted_text("caption"), "xy");
    EXPECT_TRUE(c.at_end());
}

TEST(ByteCursor, RefusesReadsPastTheEndNamingFieldAndOffset) {
    const Bytes data{1, 2, 3};
    ByteCursor c(data, 0, 0x100);
    auto v = c.u32("width");
    ASSERT_FALSE(v);
    EXPECT_EQ(v.error().field, "width");
    EXPECT_EQ(v.error().offset, 0x100u);
    EXPECT_EQ(c.pos(), 0u);  // a failed read moves nothing

    const Bytes no_nul{'a', 'b'};
    ByteCursor t(no_nul);
    EXPECT_FALSE(t.cstring("name"));

    const Bytes long_count{0xFF, 0xFF, 0xFF, 0xFF, 'a'};
    ByteCursor k(long_count);
    EXPECT_FALSE(k.counted_text("text"));
    EXPECT_EQ(k.pos(), 0u);
    EXPECT_FALSE(k.seek(6, "next"));
    EXPECT_TRUE(k.seek(5, "next"));
    EXPECT_FALSE(k.u8("after end"));
}

TEST(ByteWriter, WritesWhatTheCursorReads) {
    ByteWriter w;
    w.u32(0xDEADBEEF);
    w.f64(2.0);
    w.counted(std::string_view("\r\n"));
    w.cstring("");
    w.patch_u32(0, 7);
    ByteCursor c(w.bytes());
    EXPECT_EQ(*c.u32("a"), 7u);
    EXPECT_EQ(*c.f64("b"), 2.0);
    EXPECT_EQ(*c.counted_text("c"), "\r\n");
    EXPECT_EQ(*c.cstring("d"), "");
    EXPECT_TRUE(c.at_end());
    // 2.0 as stored: 00 00 00 00 00 00 00 40
    EXPECT_EQ(w.bytes()[11], 0x40);
}

TEST(Error, DescribesFieldOffsetAndMessage) {
    EXPECT_EQ((Error{"too short", "header", 0x1C}.describe()), "header at 0x1C: too short");
    EXPECT_EQ((Error{"bad", "", Error::kNoOffset}.describe()), "bad");
}
