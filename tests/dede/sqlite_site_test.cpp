// The SQLite backend: nothing can be written through it, and MySQL's functions answer as in MySQL.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include <unistd.h>

#include "dede/site_database.h"

namespace brindle::dede {
namespace {

namespace fs = std::filesystem;

class SqliteSite : public ::testing::Test {
protected:
    fs::path path = fs::temp_directory_path() / ("brindle-site-" + std::to_string(::getpid()) + ".sqlite");
    std::unique_ptr<SiteDatabase> site;

    void SetUp() override {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db,
                               "CREATE TABLE dede_archives (id INTEGER PRIMARY KEY, title TEXT, flag TEXT, senddate INT);"
                               "INSERT INTO dede_archives VALUES (1, 'First', 'h,p', 0), (2, 'Second', NULL, 86400),"
                               " (3, '第三', 'c', 172800);",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
        auto opened = open_sqlite_site(path.string(), SiteClock{1717243200});  // 2024-06-01 12:00:00 UTC
        ASSERT_TRUE(opened.has_value()) << opened.error().describe();
        site = std::move(*opened);
    }
    void TearDown() override {
        site.reset();
        fs::remove(path);
    }

    std::string one(std::string_view sql) {
        auto result = site->select(sql);
        if (!result) return "error: " + result.error().message;
        if (result->rows.size() != 1 || result->rows[0].size() != 1) return "not one value";
        return result->rows[0][0].value_or("NULL");
    }
};

TEST_F(SqliteSite, NothingIsWrittenThroughIt) {
    for (std::string_view sql : {"DELETE FROM dede_archives", "UPDATE dede_archives SET title = ''",
                                 "DROP TABLE dede_archives", "SELECT 1; DELETE FROM dede_archives",
                                 "ATTACH DATABASE '/tmp/x.sqlite' AS x"}) {
        auto result = site->select(sql);
        EXPECT_FALSE(result.has_value()) << sql;
    }
    EXPECT_EQ(one("SELECT count(*) FROM dede_archives"), "3");
    EXPECT_EQ(one("SELECT title FROM dede_archives WHERE id = 3;"), "第三");
    // A value with quotes stays one value.
    EXPECT_EQ(one("SELECT " + site->quote("it's \\' OR 1 --")), "it's \\' OR 1 --");
    EXPECT_FALSE(open_sqlite_site((path.string() + ".missing"), {}).has_value());
    EXPECT_FALSE(fs::exists(path.string() + ".missing"));
}

TEST_F(SqliteSite, MySqlFunctionsAnswerAsInMySql) {
    EXPECT_EQ(one("SELECT CONCAT('a', title, 'b') FROM dede_archives WHERE id = 1"), "aFirstb");
    EXPECT_EQ(one("SELECT CONCAT('a', flag) FROM dede_archives WHERE id = 2"), "NULL");
    EXPECT_EQ(one("SELECT CONCAT_WS('-', 'a', NULL, 'b')"), "a-b");
    EXPECT_EQ(one("SELECT count(*) FROM dede_archives WHERE FIND_IN_SET('p', flag)"), "1");
    EXPECT_EQ(one("SELECT FIND_IN_SET('c', 'a,b,c')"), "3");
    EXPECT_EQ(one("SELECT FIND_IN_SET('', 'a,,c')"), "2");
    EXPECT_EQ(one("SELECT CHAR_LENGTH(title) FROM dede_archives WHERE id = 3"), "2");
    EXPECT_EQ(one("SELECT CHAR_LENGTH(NULL)"), "NULL");
    EXPECT_EQ(one("SELECT IF(id > 1, 'big', 'small') FROM dede_archives WHERE id = 2"), "big");
    EXPECT_EQ(one("SELECT UNIX_TIMESTAMP()"), "1717243200");
    EXPECT_EQ(one("SELECT UNIX_TIMESTAMP('2024-06-01 00:00:00')"), "1717200000");
    EXPECT_EQ(one("SELECT NOW()"), "2024-06-01 12:00:00");
    EXPECT_EQ(one("SELECT LENGTH('织梦 5.7')"), "10");
    EXPECT_EQ(one("SELECT CHAR_LENGTH('织梦 5.7')"), "6");
    EXPECT_EQ(one("SELECT LENGTH(NULL) IS NULL AND CHAR_LENGTH(NULL) IS NULL"), "1");
    EXPECT_EQ(one("SELECT group_concat(id) FROM dede_archives WHERE title REGEXP '^(f|s)'"), "1,2");
    // One clock, one order: the same seed gives the same sequence on a new connection.
    auto order = [&] {
        auto r = site->select("SELECT id FROM dede_archives ORDER BY RAND()");
        std::string ids;
        for (auto& row : r->rows) ids += *row[0];
        return ids;
    };
    std::string first = order();
    site.reset();
    site = std::move(*open_sqlite_site(path.string(), SiteClock{1717243200}));
    EXPECT_EQ(order(), first);
}

}  // namespace
}  // namespace brindle::dede
