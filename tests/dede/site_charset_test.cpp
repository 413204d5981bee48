// A site's charset from its text's bytes, whatever its columns are labelled.
#include <gtest/gtest.h>

#include "dede/site_charset.h"

namespace brindle::dede {
namespace {

const std::string kNewsUtf8 = "\xE6\x96\xB0\xE9\x97\xBB";  // 新闻
const std::string kNewsGbk = "\xD0\xC2\xCE\xC5";
const std::string kProductsGbk = "\xB2\xFA\xC6\xB7";  // 产品

std::string detected(const std::vector<std::string>& texts) {
    auto charset = charset_of_texts(texts);
    return charset ? std::string(charset_name(*charset)) : "error: " + charset.error().message;
}

TEST(SiteCharset, JudgesByTheBytes) {
    EXPECT_EQ(detected({"About", kNewsUtf8, "DedeCMS " + kNewsUtf8}), "utf-8");
    EXPECT_EQ(detected({"About", kNewsGbk, kProductsGbk + " 2024"}), "gbk");
    EXPECT_EQ(detected({"About", "Contact"}), "utf-8");
    EXPECT_EQ(detected({}), "utf-8");
    // GBK text that happens to be valid UTF-8 is outvoted by the rest.
    const std::string utf8_lookalike = "\xC3\xA9\xC3\xA9";  // GBK bytes, and also "éé" in UTF-8
    EXPECT_EQ(detected({utf8_lookalike, kNewsGbk, kProductsGbk}), "gbk");
    // A UTF-8 site stays UTF-8 though one title was cut inside a character.
    EXPECT_EQ(detected({kNewsUtf8, kNewsUtf8 + kNewsUtf8.substr(0, 2), kNewsUtf8}), "utf-8");
    EXPECT_EQ(detected({"\xFF\xFF", "\x80\xFF", kNewsUtf8}), "error: the site's text is neither UTF-8 nor GBK (2 of 3 texts)");
}

}  // namespace
}  // namespace brindle::dede
