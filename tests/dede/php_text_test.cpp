// Numbers and text as DedeCMS's PHP reads them: data from a site's database is not trusted.
#include <gtest/gtest.h>

#include <climits>

#include "dede/php_text.h"

namespace brindle::dede {
namespace {

TEST(PhpText, NumbersAsPhpCastsThem) {
    EXPECT_EQ(php_int("42"), 42);
    EXPECT_EQ(php_int("  -7 apples"), -7);
    EXPECT_EQ(php_int("+3"), 3);
    EXPECT_EQ(php_int("abc"), 0);
    EXPECT_EQ(php_int(""), 0);
    EXPECT_EQ(php_int("99999999999999999999999"), LLONG_MAX);
    EXPECT_EQ(php_int("-99999999999999999999999"), LLONG_MIN);
    EXPECT_EQ(php_trim(std::string_view("\0 \x0B x y\r\n", 9)), "x y");
    EXPECT_EQ(id_list("1, 2;DROP 3"), "1,23");
    EXPECT_EQ(replace_all("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(replace_all("x", "", "y"), "x");
}

}  // namespace
}  // namespace brindle::dede
