#include "common/gbk.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/exhaust_descriptors.h"

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

TEST(Gbk, EuroSignOfCodePage936ComesBack) {
    auto gbk = utf8_to_gbk("€5");
    ASSERT_TRUE(gbk);
    EXPECT_EQ(*gbk, "\x80" "5");
    EXPECT_EQ(gbk_to_utf8(*gbk), "€5");
    EXPECT_EQ(gbk_to_utf8("\xA2\xE3"), "€");  // GB18030's own form, as a typed euro sign is encoded
    EXPECT_EQ(gbk_to_utf8("\x81\x80"), "亐");  // 0x80 as a trail byte is not the euro sign
}

std::string utf8_of(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += char(c);
    } else if (c < 0x800) {
        s += char(0xC0 | c >> 6);
        s += char(0x80 | (c & 0x3F));
    } else {
        s += char(0xE0 | c >> 12);
        s += char(0x80 | (c >> 6 & 0x3F));
        s += char(0x80 | (c & 0x3F));
    }
    return s;
}

TEST(Gbk, EveryCharacterOfTheBasicPlaneRoundTrips) {
    size_t held = 0;
    std::vector<char32_t> lost;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const std::string one = utf8_of(c);
        // As typed (GB18030) ...
        if (gbk_to_utf8(utf8_to_gb18030(one)) != one) lost.push_back(c);
        // ... and as written into the image (GBK), for every character GBK holds.
        auto gbk = utf8_to_gbk(one);
        if (!gbk) continue;
        ++held;
        ASSERT_EQ(gbk_to_utf8(*gbk), one) << "U+" << std::hex << uint32_t(c);
    }
    EXPECT_GT(held, 21000u);
    // Only private-use code points that GB18030-2022 gave back to standard characters (vertical
    // forms, CJK additions) have no form of their own; no input method types them.
    EXPECT_EQ(lost.size(), 24u);
    for (char32_t c : lost) EXPECT_TRUE(c >= 0xE000 && c <= 0xF8FF) << "U+" << std::hex << uint32_t(c);
    // One unconvertible character is one replacement, not one per byte.
    EXPECT_EQ(utf8_to_gb18030("a\uE78Db"), "a?b");
}

TEST(GbkDeathTest, ConvertersThatCannotOpenAreReportedNotEmptyTexts) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process: no converter opened yet
    EXPECT_EXIT(
        {
            brindle::testing::use_up_file_descriptors();
            auto r = check_text_conversion();
            std::fputs(r ? "opened" : r.error().message.c_str(), stderr);
            _exit(r ? 0 : 3);
        },
        ::testing::ExitedWithCode(3), "^cannot open the text converter from GB18030 to UTF-8: ");
    EXPECT_DEATH(
        {
            brindle::testing::use_up_file_descriptors();
            std::string text = gbk_to_utf8("abc");
            std::fputs(("converted to '" + text + "'").c_str(), stderr);
            _exit(0);
        },
        "brindle: cannot open the text converter from GB18030 to UTF-8");
}
