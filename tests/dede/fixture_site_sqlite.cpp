// The fixtures' site as the embedded sample site is: its SQL loaded into a SQLite file.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "tests/dede/fixture_site.h"

namespace brindle::dede {
namespace {

namespace fs = std::filesystem;

fs::path database_file() {
    return fs::temp_directory_path() / ("brindle-fixture-site-" + std::to_string(::getpid()) + ".sqlite");
}

}  // namespace

std::unique_ptr<SiteDatabase> open_fixture_site(SiteClock clock) {
    const fs::path database = database_file();
    fs::remove(database);
    std::ifstream in(BRINDLE_SAMPLE_SITE_SQL, std::ios::binary);
    const std::string sql((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    sqlite3* writer = nullptr;
    EXPECT_EQ(sqlite3_open(database.c_str(), &writer), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(writer, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(writer);
    auto site = open_sqlite_site(database.string(), clock);
    EXPECT_TRUE(site.has_value()) << site.error().describe();
    return site ? std::move(*site) : nullptr;
}

void close_fixture_site() { fs::remove(database_file()); }

}  // namespace brindle::dede
