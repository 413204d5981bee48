// brindle-preview serve over a MariaDB copy of a site: the sample site's data in a private mariadbd,
// served page for page as from the SQLite sample site. One mariadbd serves the whole program.
#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <regex>

#include "dede/serve/preview_server.h"
#include "dede/serve/site_session.h"
#include "tests/support/mariadb_server.h"

namespace brindle::preview {
namespace {

namespace fs = std::filesystem;

const fs::path kBuild = BRINDLE_BUILD_DIR;

// The pages of a server, each body with its own address and the generation its reload script
// names taken out.
std::vector<std::string> pages_of(const std::string& site_url, const std::vector<std::string>& targets) {
    SiteArguments site;
    site.site_url = site_url;
    site.now = 1717243200;  // 2024-06-01 12:00:00 UTC
    auto session = open_site_session(site, kBuild, kBuild / "sample-templets");
    EXPECT_TRUE(session.has_value()) << session.error().message;
    if (!session) return {};
    auto server = PreviewServer::start(std::move(*session), {0, kBuild / "sample-uploads"});
    EXPECT_TRUE(server.has_value()) << server.error().message;
    if (!server) return {};
    httplib::Client client((*server)->origin());
    std::vector<std::string> bodies;
    for (const std::string& target : targets) {
        auto page = client.Get(target);
        EXPECT_TRUE(page && page->status == 200) << site_url << " " << target;
        std::string body = page ? std::regex_replace(page->body, std::regex("since=[0-9]+"), "since=N") : std::string();
        bodies.push_back(std::regex_replace(body, std::regex((*server)->origin()), "ORIGIN"));
    }
    return bodies;
}

TEST(MariaDbServe, ServesTheSamePagesAsFromSqlite) {
    auto server = test::MariaDbServer::start();
    ASSERT_TRUE(server.has_value()) << server.error().describe();
    auto loaded = (*server)->execute("CREATE DATABASE dede CHARACTER SET utf8mb4;");
    ASSERT_TRUE(loaded.has_value()) << loaded.error().describe();
    loaded = (*server)->execute_file(fs::path(BRINDLE_DEDE_FIXTURES) / "site_dump.sql", "dede");
    ASSERT_TRUE(loaded.has_value()) << loaded.error().describe();

    const std::vector<std::string> targets = {"/", "/a/news/", "/a/news/list_1_2.html", "/a/products/",
                                              "/plus/list.php?tid=4"};
    const std::string mysql = "mysql://root@localhost/dede?socket=" + (*server)->address("dede").socket;
    std::vector<std::string> from_mariadb = pages_of(mysql, targets);
    std::vector<std::string> from_sqlite = pages_of("sqlite:" + (kBuild / "sample-site.sqlite").string(), targets);
    ASSERT_EQ(from_mariadb.size(), targets.size());
    ASSERT_EQ(from_sqlite.size(), targets.size());
    for (size_t i = 0; i < targets.size(); ++i) EXPECT_EQ(from_mariadb[i], from_sqlite[i]) << targets[i];
    // The position starts at cfg_basehost, which the preview writes as its own address.
    EXPECT_NE(from_mariadb[1].find(
                  "<p class=\"position\"><a href='ORIGIN/'>主页</a> > <a href='/a/news/'>新闻中心</a> > </p>"),
              std::string::npos);
}

}  // namespace
}  // namespace brindle::preview
