#include "common/gbk.h"

#include <gtest/gtest.h>

using namespace brindle;

TEST(Gbk, RoundTripsTheApplicationsTexts) {
    auto gbk = utf8_to_gbk("复制成功！");
    ASSERT_TRUE(gbk);
    EXPECT_EQ(*gbk, "\xB8\xB4\xD6\xC6\xB3\xC9\xB9\xA6\xA3\xA1");
    EXPECT_EQ(gbk_to_utf8(*gbk), "复制成功！");
    EXPECT_EQ(*utf8_to_gbk("{dede:list row='20'}\r\n"), "{dede:list row='20'}\r\n");
}

TEST(Gbk, StrictGbkRefusesWhatOnlyGb18030Holds) {
    // U+1F600 has a four-byte GB18030 form and none in GBK.
    EXPECT_FALSE(utf8_to_gbk("a\xF0\x9F\x98\x80"));
    std::string gb = utf8_to_gb18030("a\xF0\x9F\x98\x80");
    EXPECT_EQ(gb.size(), 5u);
    EXPECT_EQ(gbk_to_utf8(gb), "a\xF0\x9F\x98\x80");
}

TEST(Gbk, InvalidBytesDecodeToReplacementNotTruncation) {
    EXPECT_EQ(gbk_to_utf8("a\x81"), "a\xEF\xBF\xBD");
    EXPECT_EQ(gbk_to_utf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}
