// The gate before a server that could be written to: one SELECT that only reads passes, whatever its
// strings and comments hold; anything else is refused with its reason.
#include <gtest/gtest.h>

#include "dede/select_only.h"

namespace brindle::dede {
namespace {

std::string passed(std::string_view sql) {
    auto result = select_only(sql);
    return result ? std::string(*result) : "refused: " + result.error().message;
}

std::string refusal(std::string_view sql) {
    auto result = select_only(sql);
    return result ? "passed" : result.error().message;
}

TEST(SelectOnly, PassesOneSelectAndLeavesOffTheFinalSemicolon) {
    EXPECT_EQ(passed("SELECT id FROM dede_archives"), "SELECT id FROM dede_archives");
    EXPECT_EQ(passed("  select id from dede_archives ;; \n-- done\n"), "  select id from dede_archives ");
    EXPECT_EQ(passed("(SELECT 1) UNION (SELECT 2)"), "(SELECT 1) UNION (SELECT 2)");
    // Keywords inside strings, quoted names, comments, variables and qualified names are not keywords.
    for (std::string_view sql : {
             "SELECT title FROM dede_archives WHERE title = 'x; DELETE FROM dede_archives'",
             "SELECT 'it''s; into', \"a \\\" ; update\" FROM dede_archives",
             "SELECT `into`, `lock``s` FROM t",
             "SELECT a.update, t.lock FROM t AS a",
             "SELECT 1 /* ; DELETE */ # into\n",
             "SELECT 1 -- ; delete\n",
             "SELECT @into, @@lock_wait_timeout",
             "SELECT 5--1",
             "SELECT sleepy(1), REPLACE(title, 'a', 'b'), INSERT(title, 1, 2, 'x') FROM t",
         })
        EXPECT_EQ(passed(sql), sql);
}

TEST(SelectOnly, RefusesWhatIsNotAPlainSelect) {
    EXPECT_EQ(refusal(""), "no statement");
    EXPECT_EQ(refusal(" ;-- nothing"), "no statement");
    EXPECT_EQ(refusal("DELETE FROM dede_archives"), "only SELECT statements are run, not DELETE");
    EXPECT_EQ(refusal("update dede_archives SET title = ''"), "only SELECT statements are run, not UPDATE");
    EXPECT_EQ(refusal("(DELETE FROM t)"), "only SELECT statements are run, not DELETE");
    EXPECT_EQ(refusal("\xE5\x88\xA0\xE9\x99\xA4 FROM t"), "only SELECT statements are run");
    EXPECT_EQ(refusal(std::string(100000, 'x')), "only SELECT statements are run");
    EXPECT_EQ(refusal("SET SESSION TRANSACTION READ WRITE"), "only SELECT statements are run, not SET");
    EXPECT_EQ(refusal("/*!DELETE FROM t*/ SELECT 1"), "executable comments (/*! ... */) are refused");
    EXPECT_EQ(refusal("SELECT 1 /*M!100000 , SLEEP(10) */"), "executable comments (/*! ... */) are refused");
    EXPECT_EQ(refusal("SELECT 1; DELETE FROM dede_archives"), "more than one statement");
    EXPECT_EQ(refusal("SELECT 1;;  /* */ ; x"), "more than one statement");
    EXPECT_EQ(refusal("SELECT * FROM t INTO OUTFILE '/tmp/x'"),
              "SELECT ... INTO is refused: it writes to a file or to variables");
    EXPECT_EQ(refusal("SELECT id INTO @x FROM t"), "SELECT ... INTO is refused: it writes to a file or to variables");
    EXPECT_EQ(refusal("SELECT * FROM t FOR UPDATE"), "row locks (FOR UPDATE, FOR SHARE, LOCK IN SHARE MODE) are refused");
    EXPECT_EQ(refusal("SELECT * FROM t FOR SHARE"), "row locks (FOR UPDATE, FOR SHARE, LOCK IN SHARE MODE) are refused");
    EXPECT_EQ(refusal("SELECT * FROM t LOCK IN SHARE MODE"),
              "row locks (FOR UPDATE, FOR SHARE, LOCK IN SHARE MODE) are refused");
    EXPECT_EQ(refusal("SELECT sleep (100)"), "SLEEP() is refused: it acts beyond reading");
    EXPECT_EQ(refusal("SELECT GET_LOCK('a', 1)"), "GET_LOCK() is refused: it acts beyond reading");
    EXPECT_EQ(refusal("SELECT LOAD_FILE('/etc/passwd')"), "LOAD_FILE() is refused: it acts beyond reading");
    EXPECT_EQ(refusal("SELECT NEXTVAL(s)"), "NEXTVAL() is refused: it acts beyond reading");
    EXPECT_EQ(refusal("SELECT 'unclosed"), "a string is not closed");
    EXPECT_EQ(refusal("SELECT 'escaped\\'"), "a string is not closed");
    EXPECT_EQ(refusal("SELECT `unclosed"), "a quoted name is not closed");
    EXPECT_EQ(refusal("SELECT 1 /* unclosed"), "a comment is not closed");
}

}  // namespace
}  // namespace brindle::dede
