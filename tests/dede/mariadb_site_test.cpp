// The MariaDB backend against a real server: nothing written through it, the same bytes as the SQLite
// backend over the same data, GBK bytes kept as stored, and MySQL's clock and chance answering from
// the site's clock. One mariadbd serves the whole program.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>

#include <unistd.h>

#include "dede/site_address.h"
#include "dede/site_charset.h"
#include "dede/site_database.h"
#include "tests/dede/fixture_site.h"
#include "tests/support/mariadb_server.h"

namespace brindle::dede {
namespace {

namespace fs = std::filesystem;

constexpr SiteClock kClock{1717243200};  // 2024-06-01 12:00:00 UTC, the fixtures' time

// 新闻 and 产品中心 in GBK, as a GBK site stores them: in GBK columns, or byte for byte in latin1 ones.
const std::string kNewsGbk = "\xD0\xC2\xCE\xC5";
const std::string kProductsGbk = "\xB2\xFA\xC6\xB7\xD6\xD0\xD0\xC4";
const std::string kTitleGbk = "\xD6\xAF\xC3\xCE\xC4\xA3\xB0\xE5";  // 织梦模板

test::MariaDbServer* server = nullptr;

std::string gbk_site_sql(std::string_view charset) {
    return "SET NAMES " + std::string(charset) + ";" +
           "CREATE TABLE dede_arctype (id INT PRIMARY KEY, typename VARCHAR(30)) ENGINE=MyISAM;"
           "CREATE TABLE dede_archives (id INT PRIMARY KEY, title CHAR(60)) ENGINE=MyISAM;"
           "INSERT INTO dede_arctype VALUES (1, '" + kNewsGbk + "'), (2, '" + kProductsGbk + "'), (3, 'About');"
           "INSERT INTO dede_archives VALUES (1, '" + kTitleGbk + " 5.7'), (2, 'English');";
}

class MariaDbEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        auto started = test::MariaDbServer::start();
        ASSERT_TRUE(started.has_value()) << started.error().describe();
        owned_ = std::move(*started);
        server = owned_.get();
        std::printf("mariadbd (pid %d) answered after %lld ms\n", static_cast<int>(server->pid()),
                    static_cast<long long>(server->start_time().count()));
        auto loaded = server->execute(
            "CREATE DATABASE dede CHARACTER SET utf8mb4;"
            "CREATE DATABASE gbk_site CHARACTER SET gbk;"
            "CREATE DATABASE latin1_site CHARACTER SET latin1;"
            "CREATE DATABASE utf8_in_latin1 CHARACTER SET latin1;");
        ASSERT_TRUE(loaded.has_value()) << loaded.error().describe();
        loaded = server->execute_file(fs::path(BRINDLE_DEDE_FIXTURES) / "site_dump.sql", "dede");
        ASSERT_TRUE(loaded.has_value()) << loaded.error().describe();
        loaded = server->execute(gbk_site_sql("gbk"), "gbk_site");
        ASSERT_TRUE(loaded.has_value()) << loaded.error().describe();
        loaded = server->execute(gbk_site_sql("latin1"), "latin1_site");
        ASSERT_TRUE(loaded.has_value()) << loaded.error().describe();
        loaded = server->execute(
            "SET NAMES utf8mb4; CREATE TABLE dede_arctype (id INT PRIMARY KEY, typename VARCHAR(30)) CHARSET utf8mb4;"
            "CREATE TABLE dede_archives (id INT PRIMARY KEY, title CHAR(60)) CHARSET utf8mb4;"
            "INSERT INTO dede_arctype VALUES (1, '新闻'), (2, '产品中心');",
            "utf8_in_latin1");
        ASSERT_TRUE(loaded.has_value()) << loaded.error().describe();
    }
    void TearDown() override {
        server = nullptr;
        owned_.reset();
    }

private:
    std::unique_ptr<test::MariaDbServer> owned_;
};

std::unique_ptr<SiteDatabase> open_site(const std::string& database, SiteClock clock = kClock) {
    auto site = open_mariadb_site(server->address(database), clock);
    EXPECT_TRUE(site.has_value()) << site.error().describe();
    return site ? std::move(*site) : nullptr;
}

// Rows as one text: values joined by '|', rows by newlines, NULL as \N.
std::string text_of(const Result<QueryResult>& result) {
    if (!result) return "error: " + result.error().message;
    std::string out;
    for (const auto& column : result->columns) out += column + "|";
    out += "\n";
    for (const auto& row : result->rows) {
        for (const auto& value : row) out += value.value_or("\\N") + "|";
        out += "\n";
    }
    return out;
}

std::string one(SiteDatabase& site, std::string_view sql) {
    auto result = site.select(sql);
    if (!result) return "error: " + result.error().message;
    if (result->rows.size() != 1 || result->rows[0].size() != 1) return "not one value";
    return result->rows[0][0].value_or("NULL");
}

TEST(MariaDbSite, NothingIsWrittenThroughIt) {
    auto site = open_site("dede");
    ASSERT_TRUE(site);
    const std::string rows_before = text_of(site->select("SELECT id, title, flag FROM dede_archives ORDER BY id"));
    const fs::path outfile = fs::temp_directory_path() / ("brindle-outfile-" + std::to_string(::getpid()));
    const struct {
        std::string sql, refusal;
    } statements[] = {
        {"DELETE FROM dede_archives", "only SELECT statements are run, not DELETE"},
        {"UPDATE dede_archives SET title = ''", "only SELECT statements are run, not UPDATE"},
        {"INSERT INTO dede_archives (id, voteid) VALUES (999, 0)", "only SELECT statements are run, not INSERT"},
        {"REPLACE INTO dede_archives (id, voteid) VALUES (1, 0)", "only SELECT statements are run, not REPLACE"},
        {"DROP TABLE dede_archives", "only SELECT statements are run, not DROP"},
        {"TRUNCATE dede_archives", "only SELECT statements are run, not TRUNCATE"},
        {"SELECT 1; DELETE FROM dede_archives", "more than one statement"},
        {"SELECT * FROM dede_archives INTO OUTFILE '" + outfile.string() + "'",
         "SELECT ... INTO is refused: it writes to a file or to variables"},
        {"LOCK TABLES dede_archives WRITE", "only SELECT statements are run, not LOCK"},
        {"SET SESSION TRANSACTION READ WRITE", "only SELECT statements are run, not SET"},
        {"SELECT id FROM dede_archives FOR UPDATE", "row locks (FOR UPDATE, FOR SHARE, LOCK IN SHARE MODE) are refused"},
        {"/*!DELETE FROM dede_archives*/", "executable comments (/*! ... */) are refused"},
    };
    for (const auto& statement : statements) {
        auto result = site->select(statement.sql);
        ASSERT_FALSE(result.has_value()) << statement.sql;
        EXPECT_EQ(result.error().message, statement.refusal);
    }
    EXPECT_FALSE(fs::exists(outfile));
    // The session itself refuses writes, should one ever get past the gate.
    EXPECT_EQ(text_of(site->select("SELECT @@tx_read_only, @@character_set_results, @@time_zone, @@sql_mode")),
              "@@tx_read_only|@@character_set_results|@@time_zone|@@sql_mode|\n1|binary|+00:00||\n");
    // Every row in place, seen from a new connection as well.
    EXPECT_EQ(text_of(site->select("SELECT id, title, flag FROM dede_archives ORDER BY id")), rows_before);
    auto fresh = open_site("dede");
    ASSERT_TRUE(fresh);
    EXPECT_EQ(one(*fresh, "SELECT count(*) FROM dede_archives"), "60");
    EXPECT_EQ(text_of(fresh->select("SELECT id, title, flag FROM dede_archives ORDER BY id")), rows_before);
}

TEST(MariaDbSite, ServerErrorsAndUnreachableSitesAreErrors) {
    auto site = open_site("dede");
    ASSERT_TRUE(site);
    EXPECT_EQ(text_of(site->select("SELECT id FROM dede_nothing")), "error: Table 'dede.dede_nothing' doesn't exist");
    EXPECT_EQ(text_of(site->select("SELECT id FROM dede_archives WHERE id = 0")), "id|\n");

    MariaDbAddress missing = server->address("dede");
    missing.socket += ".missing";
    missing.password = "hunter2";
    auto refused = open_mariadb_site(missing, kClock);
    ASSERT_FALSE(refused.has_value());
    EXPECT_EQ(refused.error().field, "mysql://root@localhost/dede?socket=" + missing.socket);
    EXPECT_NE(refused.error().message.find("Can't connect to local server through socket"), std::string::npos)
        << refused.error().message;
    EXPECT_EQ(refused.error().describe().find("hunter2"), std::string::npos);
    auto no_database = open_mariadb_site(server->address("dede_missing"), kClock);
    ASSERT_FALSE(no_database.has_value());
    EXPECT_EQ(no_database.error().message, "Unknown database 'dede_missing'");
}

// The tables the comparison reads, copied into SQLite with integer columns kept integers (so that
// comparisons and sorting work as in MySQL).
void copy_to_sqlite(SiteDatabase& site, sqlite3* db, const std::string& table) {
    auto types = site.select(
        "SELECT column_name, data_type FROM information_schema.columns WHERE table_schema = DATABASE() AND "
        "table_name = '" + table + "' ORDER BY ordinal_position");
    ASSERT_TRUE(types.has_value()) << types.error().message;
    std::string create = "CREATE TABLE " + table + " (", insert = "INSERT INTO " + table + " VALUES (";
    for (size_t i = 0; i < types->rows.size(); ++i) {
        const std::string& type = *types->rows[i][1];
        create += (i ? ", " : "") + *types->rows[i][0] + (type.find("int") != std::string::npos ? " INTEGER" : " TEXT");
        insert += i ? ", ?" : "?";
    }
    ASSERT_EQ(sqlite3_exec(db, (create + ")").c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    auto rows = site.select("SELECT * FROM " + table);
    ASSERT_TRUE(rows.has_value()) << rows.error().message;
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &statement, nullptr), SQLITE_OK);
    for (const auto& row : rows->rows) {
        for (size_t i = 0; i < row.size(); ++i) {
            if (row[i])
                sqlite3_bind_text(statement, static_cast<int>(i + 1), row[i]->data(), static_cast<int>(row[i]->size()),
                                  SQLITE_TRANSIENT);
            else
                sqlite3_bind_null(statement, static_cast<int>(i + 1));
        }
        EXPECT_EQ(sqlite3_step(statement), SQLITE_DONE) << sqlite3_errmsg(db);
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
}

TEST(MariaDbSite, GivesTheSameBytesAsSqliteOverTheSameData) {
    auto mariadb = open_site("dede");
    ASSERT_TRUE(mariadb);
    const fs::path copy = fs::temp_directory_path() / ("brindle-mariadb-copy-" + std::to_string(::getpid()) + ".sqlite");
    fs::remove(copy);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(copy.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (const char* table : {"dede_arctype", "dede_archives", "dede_addonarticle", "dede_keywords"})
        copy_to_sqlite(*mariadb, db, table);
    ASSERT_EQ(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    auto sqlite = open_sqlite_site(copy.string(), kClock);
    ASSERT_TRUE(sqlite.has_value()) << sqlite.error().describe();

    for (std::string_view sql : {
             "SELECT id, reid, topid, typename, typedir, namerule FROM dede_arctype ORDER BY id",
             "SELECT id, typeid, title, shorttitle, flag, litpic, pubdate, senddate, filename FROM dede_archives "
             "WHERE arcrank > -1 ORDER BY sortrank DESC, id DESC LIMIT 0, 10",
             "SELECT a.id, a.title, t.typename FROM dede_archives a LEFT JOIN dede_arctype t ON t.id = a.typeid "
             "WHERE FIND_IN_SET('h', a.flag) OR FIND_IN_SET('p', a.flag) ORDER BY a.id",
             "SELECT CONCAT(id, ':', title) AS label, IF(litpic = '', 'none', litpic) AS pic FROM dede_archives "
             "WHERE typeid IN (1, 2, 3) ORDER BY id",
             "SELECT count(*) AS n FROM dede_archives WHERE pubdate < UNIX_TIMESTAMP() AND ismake = -1",
             "SELECT id FROM dede_archives WHERE title REGEXP '^[a-z]' ORDER BY id",
             "SELECT body FROM dede_addonarticle WHERE aid IN (1, 5) ORDER BY aid",
             "SELECT title FROM dede_archives WHERE title LIKE '%经济%' ORDER BY id",
             "SELECT `keyword`, `rpurl`, CHAR_LENGTH(`keyword`) FROM `dede_keywords` WHERE `rpurl` <> '' AND `sta` = 1 "
             "ORDER BY `rank` DESC, CHAR_LENGTH(`keyword`) DESC",
             "SELECT NOW(), UNIX_TIMESTAMP()",
             "SELECT id, LENGTH(title), CHAR_LENGTH(title) FROM dede_archives WHERE LENGTH(title) < 30 ORDER BY id",
         }) {
        const std::string from_mariadb = text_of(mariadb->select(sql));
        EXPECT_EQ(text_of((*sqlite)->select(sql)), from_mariadb) << sql;
        EXPECT_EQ(from_mariadb.find("error"), std::string::npos) << from_mariadb;
    }
    sqlite->reset();
    fs::remove(copy);
}

TEST(MariaDbSite, KeepsTheSitesBytesWhateverTheColumnsAreLabelled) {
    for (const char* database : {"gbk_site", "latin1_site"}) {
        SCOPED_TRACE(database);
        auto site = open_site(database);
        ASSERT_TRUE(site);
        EXPECT_EQ(text_of(site->select("SELECT id, typename FROM dede_arctype ORDER BY id")),
                  "id|typename|\n1|" + kNewsGbk + "|\n2|" + kProductsGbk + "|\n3|About|\n");
        // A literal in the site's own bytes finds its rows, as in DedeCMS's queries.
        EXPECT_EQ(one(*site, "SELECT id FROM dede_arctype WHERE typename = '" + kProductsGbk + "'"), "2");
        EXPECT_EQ(one(*site, "SELECT title FROM dede_archives WHERE title LIKE '" + kTitleGbk + "%'"), kTitleGbk + " 5.7");
        auto charset = detect_site_charset(*site, "dede_");
        ASSERT_TRUE(charset.has_value()) << charset.error().message;
        EXPECT_EQ(charset_name(*charset), "gbk");
    }
    auto utf8_site = open_site("dede");
    ASSERT_TRUE(utf8_site);
    auto charset = detect_site_charset(*utf8_site, "dede_");
    ASSERT_TRUE(charset.has_value()) << charset.error().message;
    EXPECT_EQ(charset_name(*charset), "utf-8");
    EXPECT_EQ(detect_site_charset(*utf8_site, "other_").error().message, "Table 'dede.other_arctype' doesn't exist");
    // UTF-8 tables in a database created as latin1: literals take the columns' charset, not the
    // database's.
    auto in_latin1 = open_site("utf8_in_latin1");
    ASSERT_TRUE(in_latin1);
    EXPECT_EQ(one(*in_latin1, "SELECT id FROM dede_arctype WHERE typename = '产品中心'"), "2");
    EXPECT_EQ(one(*in_latin1, "SELECT typename FROM dede_arctype WHERE id = 1"), "新闻");
}

TEST(MariaDbSite, ClockAndChanceAnswerFromTheSiteClock) {
    auto site = open_site("dede");
    ASSERT_TRUE(site);
    EXPECT_EQ(text_of(site->select("SELECT NOW(), UNIX_TIMESTAMP(), CURDATE(), FROM_UNIXTIME(UNIX_TIMESTAMP() - 86400)")),
              "NOW()|UNIX_TIMESTAMP()|CURDATE()|FROM_UNIXTIME(UNIX_TIMESTAMP() - 86400)|\n"
              "2024-06-01 12:00:00|1717243200|2024-06-01|2024-05-31 12:00:00|\n");
    const std::string shuffled = "SELECT group_concat(id ORDER BY RAND()) FROM dede_archives";
    const std::string first = one(*site, shuffled);
    // One clock, one order, on every connection; another clock, another order.
    auto again = open_site("dede");
    ASSERT_TRUE(again);
    EXPECT_EQ(one(*again, shuffled), first);
    auto later = open_site("dede", SiteClock{kClock.now + 1});
    ASSERT_TRUE(later);
    EXPECT_NE(one(*later, shuffled), first);
    EXPECT_NE(first, one(*site, "SELECT group_concat(id ORDER BY id) FROM dede_archives"));
}

}  // namespace

// The fixtures' site is the dump the reference renderer's MariaDB held, loaded into this server.
std::unique_ptr<SiteDatabase> open_fixture_site(SiteClock clock) { return open_site("dede", clock); }
void close_fixture_site() {}

}  // namespace brindle::dede

brindle::test::MariaDbServer& brindle::test::fixture_server() { return *brindle::dede::server; }

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new brindle::dede::MariaDbEnvironment);
    return RUN_ALL_TESTS();
}
