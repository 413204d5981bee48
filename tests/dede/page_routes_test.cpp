// Which page an address names: every kind of address a DedeCMS site has, the traversal attempts
// that name nothing, and every address the sample site writes routed back to its page.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "dede/page_routes.h"
#include "dede/php_text.h"
#include "dede/site.h"

namespace brindle::dede {
namespace {

namespace fs = std::filesystem;
using K = Route::Kind;

// The sample site's shape: a static category with a child, a cover, one that starts at list page 1,
// a dynamic one and a link elsewhere.
SiteLayout sample_layout(std::string cmspath = "") {
    SiteLayout l;
    l.cmspath = cmspath;
    l.templets_dir = cmspath + "/templets";
    l.medias_dir = cmspath + "/uploads";
    l.plus_dir = cmspath + "/plus";
    l.special_dir = cmspath + "/special";
    const std::string list = "{typedir}/list_{tid}_{page}.html", article = "{typedir}/{Y}/{M}{D}/{aid}.html";
    l.categories = {
        {1, cmspath + "/a/news", "index.html", list, article, 1, 0},
        {5, cmspath + "/a/news/guonei", "index.html", list, article, 1, 0},
        {2, cmspath + "/a/products", "index.html", list, article, 1, 1},
        {3, cmspath + "/a/tech", "index.html", list, article, 0, 0},
        {4, cmspath + "/a/about", "index.html", list, article, -1, 0},
        {8, "http://elsewhere.example.com", "index.html", list, article, 1, 2},
        {9, cmspath + "/a/flat", "index.html", list, "{typedir}/{aid}.html", 1, 0},
    };
    return l;
}

}  // namespace

void PrintTo(const Route& r, std::ostream* out) {
    *out << "{kind " << static_cast<int>(r.kind) << ", id " << r.id << ", page " << r.page << ", name '" << r.name
         << "'}";
}

namespace {

struct Case {
    std::string path, query;
    Route route;
};

void expect_routes(const PageRouter& router, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        Route got = router.route(c.path, c.query);
        EXPECT_EQ(got, c.route) << c.path << "?" << c.query;
    }
}

TEST(PageRoutes, EveryKindOfAddress) {
    expect_routes(
        PageRouter(sample_layout()),
        {
            {"/", "", {K::Home}},
            {"/index.html", "", {K::Home}},
            // A static category: its folder, its default page, its list pages by namerule2.
            {"/a/news/", "", {K::List, 1, 1}},
            {"/a/news/index.html", "", {K::List, 1, 1}},
            {"/a/news", "", {K::Redirect, 0, 1, "/a/news/"}},
            {"/a/news/list_1_2.html", "", {K::List, 1, 2}},
            {"/a/news/list_1_1.html", "", {K::List, 1, 1}},
            {"/a/news/guonei/list_5_3.html", "", {K::List, 5, 3}},
            {"/a/news/list_5_2.html", "", {}},
            // A cover has its folder and no list pages; a category that starts at list page 1 has no folder page.
            {"/a/products/", "", {K::List, 2, 1}},
            {"/a/products/list_2_2.html", "", {}},
            {"/a/tech/", "", {}},
            {"/a/tech/list_3_1.html", "", {K::List, 3, 1}},
            // A dynamic category only through list.php, which any category but a link takes.
            {"/a/about/", "", {}},
            {"/a/about/list_4_1.html", "", {}},
            {"/plus/list.php", "tid=4", {K::List, 4, 1}},
            {"/plus/list.php", "tid=4&TotalResult=21&PageNo=2", {K::List, 4, 2}},
            {"/plus/list.php", "tid=1&PageNo=0", {K::List, 1, 1}},
            {"/plus/list.php", "tid=4&tid=5", {K::List, 5, 1}},
            {"/plus/list.php", "tid=8", {}},
            {"/plus/list.php", "tid=99", {}},
            {"/plus/list.php", "tid=4x", {}},
            {"/plus/list.php", "", {}},
            // Articles by their category's namerule, page N before the extension.
            {"/a/news/2023/1128/59.html", "", {K::Article, 59, 1}},
            {"/a/news/2023/1128/59_2.html", "", {K::Article, 59, 2}},
            {"/a/news/guonei/2022/0101/1.html", "", {K::Article, 1, 1}},
            {"/a/flat/17.html", "", {K::Article, 17, 1}},
            {"/a/news/2023/1128/about-us.html", "", {K::NamedArticle, 0, 1, "about-us"}},
            {"/a/news/2023/1128/about-us_3.html", "", {K::NamedArticle, 0, 3, "about-us"}},
            {"/a/news/2023/11/59.html", "", {}},
            {"/a/news/2023/1128/59.htm", "", {}},
            {"/special/arc-7.html", "", {K::Article, 7, 1}},
            {"/plus/view.php", "aid=57", {K::Article, 57, 1}},
            {"/plus/view.php", "aid=57&pageno=3", {K::Article, 57, 3}},
            {"/plus/view.php", "aid=0", {}},
            {"/plus/view.php", "aid=-1", {}},
            {"/plus/view-57-2.html", "", {K::Article, 57, 2}},
            {"/tags.php", "/PHP/", {}},
            // The folders whose files go out as they are.
            {"/templets/default/style.css", "", {K::TemplateFile, 0, 1, "default/style.css"}},
            {"/uploads/allimg/sample/pic2.jpg", "", {K::UploadFile, 0, 1, "allimg/sample/pic2.jpg"}},
            {"/templets/", "", {}},
            {"/templets/default/", "", {}},
            {"/uploads", "", {}},
        });
}

TEST(PageRoutes, AddressesThatClimbOutNameNothing) {
    expect_routes(PageRouter(sample_layout()), {
                                                   {"/templets/../etc/passwd", "", {}},
                                                   {"/templets/default/../../etc/passwd", "", {}},
                                                   {"/uploads/..", "", {}},
                                                   {"/templets/./default/style.css", "", {}},
                                                   {"/templets//etc/passwd", "", {}},
                                                   {"//etc/passwd", "", {}},
                                                   {"/uploads/a\\..\\b", "", {}},
                                                   {std::string("/uploads/a\0b", 12), "", {}},
                                                   {"etc/passwd", "", {}},
                                                   {"", "", {}},
                                                   {"/a/news/..", "", {}},
                                               });
}

TEST(PageRoutes, AnInstallBelowTheRoot) {
    expect_routes(PageRouter(sample_layout("/dede")),
                  {
                      {"/dede/", "", {K::Home}},
                      {"/dede", "", {K::Redirect, 0, 1, "/dede/"}},
                      {"/", "", {}},
                      {"/dede/a/news/list_1_2.html", "", {K::List, 1, 2}},
                      {"/dede/a/news/2023/1128/59.html", "", {K::Article, 59, 1}},
                      {"/dede/plus/list.php", "tid=4", {K::List, 4, 1}},
                      {"/dede/templets/default/style.css", "", {K::TemplateFile, 0, 1, "default/style.css"}},
                      {"/templets/default/style.css", "", {}},
                  });
}

// Every address the sample site writes for its categories and articles leads back to that page.
TEST(PageRoutes, TheSampleSitesOwnAddressesLeadBack) {
    const fs::path database = fs::temp_directory_path() / ("brindle-routes-" + std::to_string(::getpid()) + ".sqlite");
    fs::remove(database);
    std::ifstream in(BRINDLE_SAMPLE_SITE_SQL, std::ios::binary);
    const std::string sql((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(database.c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(writer);
    {
        auto db = open_sqlite_site(database.string(), {1717243200});
        ASSERT_TRUE(db.has_value());
        auto site = Site::load(**db, {"dede_", {1717243200}});
        ASSERT_TRUE(site.has_value()) << site.error().describe();
        PageRouter router(SiteLayout::of(*site));
        auto split_route = [&](const std::string& url) {
            size_t q = url.find('?');
            return q == std::string::npos ? router.route(url) : router.route(url.substr(0, q), url.substr(q + 1));
        };
        for (const auto& [id, category] : site->categories()) {
            std::string url = site->category_url(category.columns);
            EXPECT_EQ(split_route(url), (Route{K::List, id, 1})) << url;
        }
        auto articles = (*db)->select(
            "SELECT arc.*, tp.typedir, tp.namerule FROM dede_archives arc "
            "LEFT JOIN dede_arctype tp ON arc.typeid = tp.id");
        ASSERT_TRUE(articles.has_value());
        ASSERT_EQ(articles->rows.size(), 60u);
        for (size_t i = 0; i < articles->rows.size(); ++i) {
            Row row = row_at(*articles, i);
            std::string url = site->article_url(row);
            Route expected = row["filename"].empty() ? Route{K::Article, php_int(row["id"]), 1}
                                                     : Route{K::NamedArticle, 0, 1, row["filename"]};
            EXPECT_EQ(split_route(url), expected) << url;
        }
    }
    fs::remove(database);
}

}  // namespace
}  // namespace brindle::dede
