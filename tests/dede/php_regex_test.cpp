// PHP's patterns as preg_replace and preg_match_all run them (expected values are PHP 8.2's own).
#include <gtest/gtest.h>

#include "dede/php_regex.h"

namespace brindle::dede {
namespace {

std::string replaced(std::string_view pattern, std::string_view subject, std::string_view with, long limit = -1) {
    auto regex = PhpRegex::compile(pattern);
    if (!regex) return "error: " + regex.error().message;
    auto out = regex->replace(subject, with, limit);
    return out ? *out : "error: " + out.error().message;
}

TEST(PhpRegex, ReadsDelimitersAndFlagsAsPhpDoes) {
    EXPECT_EQ(replaced("#a#i", "AaAa", "X", 2), "XXAa");
    EXPECT_EQ(replaced("{a{1}}", "aaa", "X"), "XXX");  // bracket delimiters nest
    EXPECT_EQ(replaced("  /b/", "abc", "-"), "a-c");
    // Without u the pattern is bytes and only ASCII letters fold; with u it is characters.
    EXPECT_EQ(replaced("/é/i", "É é", "X"), "É X");
    EXPECT_EQ(replaced("/é/iu", "É é", "X"), "X X");
    EXPECT_EQ(replaced("#a#b#i", "a", "X"), "error: unknown modifier 'b'");
    EXPECT_EQ(replaced("a", "a", "X"), "error: delimiter must not be alphanumeric, backslash, or NUL");
    EXPECT_EQ(replaced("/a", "a", "X"), "error: no ending delimiter '/' found");
    EXPECT_EQ(replaced("{a", "a", "X"), "error: no ending delimiter '}' found");
    EXPECT_TRUE(replaced("#(#i", "a", "X").starts_with("error: compilation failed: missing closing parenthesis"));
    EXPECT_EQ(replaced("", "a", "X"), "error: empty regular expression");
}

TEST(PhpRegex, WalksEmptyMatchesAndFillsGroupsAsPhpDoes) {
    EXPECT_EQ(replaced("/x*/", "axb", "-"), "-a--b-");
    EXPECT_EQ(replaced("//", "é", "-"), "-\xC3-\xA9-");  // one byte at a time without u ...
    EXPECT_EQ(replaced("//u", "é", "-"), "-é-");         // ... one character with it
    EXPECT_EQ(replaced("/a/i", "bAb", "[$0|\\0|${0}]"), "b[A|A|A]b");
    // An unset or missing group is empty; "\\" and "\$" are the character; ${1}x ends at the brace.
    EXPECT_EQ(replaced("/(a)(b)?/", "ac", "<$2|$1|\\\\1|\\$1|${1}x|$11|${12}>"), "<|a|\\1|$1|ax||>c");
}

TEST(PhpRegex, FindsEveryMatchWithItsGroups) {
    auto links = PhpRegex::compile("#<a.*>(.*)<\\/a>#isU");
    ASSERT_TRUE(links.has_value());
    const std::string text = "x<a href='1'>one</a> <A HREF=2>two\n</a><a>";
    auto found = links->find_all(text);
    ASSERT_TRUE(found.has_value());
    ASSERT_EQ(found->size(), 2u);
    EXPECT_EQ(text.substr((*found)[0][0].begin, (*found)[0][0].end - (*found)[0][0].begin), "<a href='1'>one</a>");
    EXPECT_EQ((*found)[0][1].begin, 13u);
    EXPECT_EQ(text.substr((*found)[1][1].begin, (*found)[1][1].end - (*found)[1][1].begin), "two\n");
    EXPECT_EQ((*found)[1][0].begin, 21u);
}

TEST(PhpRegex, GivesUpOnASubjectPastPhpsBacktrackLimit) {
    auto hostile = PhpRegex::compile("/(a+)+$/");
    ASSERT_TRUE(hostile.has_value());
    auto out = hostile->replace(std::string(40, 'a') + "b", "x");
    ASSERT_FALSE(out.has_value());
    EXPECT_EQ(out.error().message, "matching failed: match limit exceeded");
}

}  // namespace
}  // namespace brindle::dede
