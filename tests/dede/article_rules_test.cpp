// Article pages that are no page: what a visitor cannot read, a jump, a page past the last, a missing
// template; and a keyword that empties the text. Each on the sample site changed for it.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "dede/article_view.h"

namespace brindle::dede {
namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = BRINDLE_DEDE_FIXTURES;
const fs::path kSampleSite = BRINDLE_SAMPLE_SITE_SQL;
constexpr int64_t kFixtureClock = 1717243200;  // 2024-06-01 12:00:00 UTC

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class ArticleRules : public ::testing::Test {
protected:
    fs::path database = fs::temp_directory_path() / ("brindle-article-rules-" + std::to_string(::getpid()) + ".sqlite");
    std::unique_ptr<SiteDatabase> db;
    std::optional<Site> site;

    void TearDown() override {
        site.reset();
        db.reset();
        fs::remove(database);
    }

    // The article's page on the sample site after `changes`.
    Result<RenderedPage> render(const std::string& changes, int64_t aid, int page_no,
                                std::vector<RenderIssue>* issues = nullptr) {
        fs::remove(database);
        sqlite3* writer = nullptr;
        EXPECT_EQ(sqlite3_open(database.c_str(), &writer), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(writer, (slurp(kSampleSite) + changes).c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(writer);
        site.reset();
        db = std::move(*open_sqlite_site(database.string(), {kFixtureClock}));
        site = std::move(*Site::load(*db, {"dede_", {kFixtureClock}}));
        Renderer renderer(*site, kFixtures / "templets", nullptr);
        auto page = render_article_page(renderer, kFixtures / "templets", aid, page_no);
        if (issues) *issues = renderer.issues();
        return page;
    }
    std::string error_of(const std::string& changes, int64_t aid, int page_no = 1) {
        auto page = render(changes, aid, page_no);
        return page ? "rendered" : page.error().message;
    }
};

TEST_F(ArticleRules, WhatAVisitorCannotReadIsNoPage) {
    EXPECT_EQ(error_of("", 60),
              "article 60 is not published (arcrank -1): a visitor gets 文章尚未审核,非作者本人无权查看!");
    EXPECT_EQ(error_of("UPDATE dede_archives SET arcrank=10 WHERE id=1;", 1),
              "article 1 is for members (arcrank 10): a visitor gets 你没有权限浏览文档");
    // A category's rank applies to its open articles.
    EXPECT_EQ(error_of("UPDATE dede_arctype SET corank=10 WHERE id=5;", 1),
              "article 1 is for members (arcrank 10): a visitor gets 你没有权限浏览文档");
    EXPECT_EQ(error_of("UPDATE dede_archives SET money=5 WHERE id=1;", 1),
              "article 1 costs 5 coins: a visitor gets 你没有权限浏览文档");
    // Unless its author is "member 0", as a visitor is.
    EXPECT_EQ(error_of("UPDATE dede_archives SET arcrank=-1, mid=0 WHERE id=1;", 1), "rendered");
    EXPECT_EQ(error_of("", 61), "there is no article 61");
    EXPECT_EQ(error_of("", 5, 4), "article 5 has 3 pages, not a page 4");
    EXPECT_EQ(error_of("", 1, 2), "article 1 has 1 page, not a page 2");
    EXPECT_EQ(error_of("UPDATE dede_arctype SET temparticle='{style}/none.htm' WHERE id=5;", 1),
              "article 1 has no template: " + (kFixtures / "templets/default/article_default.htm").string() +
                  " (模板文件不存在，无法解析文档！)");
}

TEST_F(ArticleRules, AJumpIsARedirectOrDedeCmsPageBeforeIt) {
    const std::string jump =
        "UPDATE dede_archives SET flag='j' WHERE id=17;"
        "UPDATE dede_addonarticle SET redirecturl=' http://example.org/next ' WHERE aid=17;";
    EXPECT_EQ(error_of(jump, 17),
              "article 17 jumps to http://example.org/next: DedeCMS answers with a redirect, not a page");
    auto page = render(jump + "UPDATE dede_sysconfig SET value='N' WHERE varname='cfg_jump_once';", 17, 2);
    ASSERT_TRUE(page.has_value()) << page.error().message;
    EXPECT_EQ(
        page->html,
        "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
        "<title>公司荣获年度优秀企业称号（17）(2)</title>\r\n"
        "<meta http-equiv=\"refresh\" content=\"3;URL=http://example.org/next\">\r\n</head>\r\n<body>\r\n"
        "现在正在转向：公司荣获年度优秀企业称号（17）(2)，请稍候...<br/><br/>\r\n"
        "转向内容简介:第17篇示例文章的摘要 description for article 17. 内容简介内容简介内容简介\r\n</body>\r\n</html>\r\n");
    // A static article is written as a page like any other.
    EXPECT_EQ(error_of("UPDATE dede_addonarticle SET redirecturl='http://example.org/' WHERE aid=5;", 5), "rendered");
}

TEST_F(ArticleRules, AKeywordThatIsNoPatternEmptiesTheTextWithAWarning) {
    std::vector<RenderIssue> issues;
    auto page = render("INSERT INTO dede_keywords VALUES (9,'a#b',20,1,'http://x/');", 13, 1, &issues);
    ASSERT_TRUE(page.has_value()) << page.error().message;
    EXPECT_NE(page->html.find("<div class=\"body\"></div>"), std::string::npos);
    // (The other issues are the template's functions, which this render has no PHP for.)
    std::vector<std::string> warnings;
    for (const RenderIssue& issue : issues)
        if (!issue.error) warnings.push_back(issue.message);
    EXPECT_EQ(warnings, std::vector<std::string>{
                            "field body is empty: the keyword 'a#b' is not a valid pattern (unknown modifier 'b')"});
}

TEST_F(ArticleRules, TheParsersNoticeIsInAPageViewPhpShowsOnly) {
    const fs::path templets = fs::temp_directory_path() / ("brindle-article-templets-" + std::to_string(::getpid()));
    fs::create_directories(templets / "default");
    std::ofstream(templets / "default/article_article.htm") << "a {dede:field.title} b";
    auto page_of = [&](int64_t aid) {
        Renderer renderer(*site, templets, nullptr);
        auto page = render_article_page(renderer, templets, aid, 1);
        return page ? page->html : page.error().message;
    };
    ASSERT_TRUE(render("", 1, 1).has_value());  // the site
    EXPECT_EQ(page_of(1), "a {dede:field.title} b");
    EXPECT_EQ(page_of(17), "Tag Character postion 2, 'field.title' Error！<br />\r\na {dede:field.title} b");
    fs::remove_all(templets);
}

}  // namespace
}  // namespace brindle::dede
