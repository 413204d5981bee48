// GBK text in the engine: statements sent to a GBK site, and the GBK edition's cut.
#include <gtest/gtest.h>

#include "common/gbk.h"
#include "dede/gbk_site.h"
#include "dede/text_cut.h"

namespace brindle::dede {
namespace {

TEST(GbkText, StatementsKeepTheirLiteralsWhole) {
    // 乗 is 81 5C: doubled inside a literal where a backslash escapes, kept elsewhere.
    EXPECT_EQ(sql_in_gbk("SELECT '乗', \"乗\", `乗` -- it's 乗\n, '织'", true),
              "SELECT '\x81\x5C\x5C', \"\x81\x5C\x5C\", `\x81\x5C` -- it's \x81\x5C\n, '\xD6\xAF'");
    EXPECT_EQ(sql_in_gbk("SELECT 'a\\'乗' /* '乗 */ # '\n'乗'", true),
              "SELECT 'a\\'\x81\x5C\x5C' /* '\x81\x5C */ # '\n'\x81\x5C\x5C'");
    // An unclosed literal is converted to its end; SQLite has no escapes at all.
    EXPECT_EQ(sql_in_gbk("SELECT '乗", true), "SELECT '\x81\x5C\x5C");
    EXPECT_EQ(sql_in_gbk("SELECT '乗'", false), "SELECT '\x81\x5C'");
}

TEST(GbkText, TheGbkEditionCutsWholeCharactersWithinTheLength) {
    EXPECT_EQ(cut_text("织梦模板 5.7", 6, SiteCharset::gbk), "织梦模");
    EXPECT_EQ(cut_text("织梦模板 5.7", 7, SiteCharset::gbk), "织梦模");
    EXPECT_EQ(cut_text("织梦模板 5.7", 9, SiteCharset::gbk), "织梦模板 ");
    EXPECT_EQ(cut_text("a织梦", 2, SiteCharset::gbk), "a");
    EXPECT_EQ(cut_text("织梦模板", 0, SiteCharset::gbk), "织梦模板");  // 0 is no limit there
    EXPECT_EQ(cut_text("织梦模板", 100, SiteCharset::gbk), "织梦模板");
    // The UTF-8 edition overshoots by one character instead.
    EXPECT_EQ(cut_text("织梦模板 5.7", 6, SiteCharset::utf8), "织梦模");
    EXPECT_EQ(cut_text("织梦模板 5.7", 7, SiteCharset::utf8), "织梦模板");
    EXPECT_EQ(cut_text("abcdef", 3, SiteCharset::utf8), "abcd");
    EXPECT_EQ(cut_text("abcdef", 3, SiteCharset::gbk), "abc");
}

}  // namespace
}  // namespace brindle::dede
