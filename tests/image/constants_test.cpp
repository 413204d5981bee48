#include "image/constants_reader.h"

#include <gtest/gtest.h>

#include "image/constant_pool.h"

using namespace brindle;
using namespace brindle::image;

TEST(ConstantPool, EmptyTextIsOneNulWithAnOffsetOfItsOwn) {
    ConstantPool pool;
    EXPECT_EQ(pool.add_text("http://x/"), 0u);
    EXPECT_EQ(pool.add_text(""), 10u);
    EXPECT_EQ(pool.add_text("a"), 11u);
    EXPECT_EQ(pool.add_text(""), 10u);
    EXPECT_EQ(pool.data().size(), 13u);
    EXPECT_EQ(pool.data()[10], 0);
    EXPECT_EQ(*ConstantsView(pool.data()).text_at(10), "");
}

TEST(ConstantPool, TextsDifferingBySpaceAreTwoConstants) {
    ConstantPool pool;
    const uint32_t spaced = pool.add_text("{dede:field.body /}");
    const uint32_t tight = pool.add_text("{dede:field.body/}");
    EXPECT_NE(spaced, tight);
    EXPECT_EQ(pool.add_text("{dede:field.body /}"), spaced);
    ConstantsView view(pool.data());
    EXPECT_EQ(*view.text_at(spaced), "{dede:field.body /}");
    EXPECT_EQ(*view.text_at(tight), "{dede:field.body/}");
}

TEST(ConstantPool, NumberIsStoredLittleEndianAtAnyOffset) {
    ConstantPool pool;
    pool.add_text("ab");  // 3 bytes: the double lands on an odd offset
    const uint32_t two = pool.add_double(2.0);
    EXPECT_EQ(two, 3u);
    EXPECT_EQ(Bytes(pool.data().begin() + 3, pool.data().end()), (Bytes{0, 0, 0, 0, 0, 0, 0, 0x40}));
    EXPECT_EQ(*ConstantsView(pool.data()).number_at(two), 2.0);
}

TEST(ConstantsView, WalkByKindsEndsExactlyAtTheSectionSize) {
    ConstantPool pool;
    const Bytes icon = {0, 0, 1, 0, 9};
    pool.add_text("\r\n\r\n");
    pool.add_bytes(icon);
    pool.add_double(2.0);
    pool.add_text("");
    ConstantsView view(pool.data());
    uint32_t at = 0;
    for (ConstantKind kind : {ConstantKind::Text, ConstantKind::Bytes, ConstantKind::Number, ConstantKind::Text}) {
        auto next = view.end_of(kind, at);
        ASSERT_TRUE(next) << next.error().describe();
        at = *next;
    }
    EXPECT_EQ(at, view.size());
    auto block = view.bytes_at(5);
    ASSERT_TRUE(block);
    EXPECT_EQ(Bytes(block->begin(), block->end()), icon);
}

TEST(ConstantsView, RefusesConstantsThatLeaveTheSection) {
    const Bytes no_nul = {'a', 'b'};
    EXPECT_EQ(ConstantsView(no_nul, 0x181).text_at(0).error().describe(),
              "constant text at 0x181: text has no NUL before the end of the data");
    EXPECT_EQ(ConstantsView(no_nul, 0x181).text_at(2).error().describe(),
              "constant text at 0x183: constant offset 2 is not below the section size 2");

    ByteWriter two_dimensions;
    two_dimensions.u32(2), two_dimensions.u32(0);
    EXPECT_EQ(ConstantsView(two_dimensions.bytes()).bytes_at(0).error().field, "byte block dimension count");
    ByteWriter long_block;
    long_block.u32(1), long_block.u32(5), long_block.raw(std::string_view("abcd"));
    EXPECT_EQ(ConstantsView(long_block.bytes()).bytes_at(0).error().field, "byte block bytes");
    EXPECT_EQ(ConstantsView(long_block.bytes()).number_at(8).error().field, "constant number");
}
