// GBK sites on a real server: the fixtures' site converted to GBK, once in GBK columns and once as
// GBK bytes in latin1 columns (how many DedeCMS sites keep it). Pages read as they do from the UTF-8
// copy, except where the GBK edition counts and encodes GBK bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/gbk.h"
#include "dede/article_view.h"
#include "dede/gbk_site.h"
#include "dede/lazy_php.h"
#include "dede/pages.h"
#include "dede/renderer.h"
#include "dede/site_charset.h"
#include "dede/text_cut.h"
#include "tests/dede/fixture_site.h"
#include "tests/support/mariadb_server.h"

namespace brindle::dede {
namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = BRINDLE_DEDE_FIXTURES;
constexpr SiteClock kClock{1717243200};

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string replaced(std::string text, std::string_view from, std::string_view to) {
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

// The fixtures' dump with its text in GBK and its tables labelled `charset`. Into latin1 columns the
// bytes go through a latin1 session, where a backslash inside a two-byte character must be doubled
// as the site's own PHP did when it stored them.
std::string dump_in_gbk(std::string_view charset, std::string_view collation) {
    std::string dump = slurp(kFixtures / "site_dump.sql");
    dump = replaced(dump, "utf8mb4_general_ci", collation);
    dump = replaced(dump, "utf8mb4", charset);
    return sql_in_gbk(dump, charset == "latin1");
}

class GbkSites : public ::testing::TestWithParam<std::string> {
protected:
    static void SetUpTestSuite() {
        auto& server = test::fixture_server();
        for (auto [database, charset, collation] : {std::tuple{"gbk_copy", "gbk", "gbk_chinese_ci"},
                                                    std::tuple{"latin1_copy", "latin1", "latin1_swedish_ci"}}) {
            auto made =
                server.execute(std::string("CREATE DATABASE IF NOT EXISTS ") + database + " CHARACTER SET " + charset);
            ASSERT_TRUE(made.has_value()) << made.error().describe();
            auto loaded = server.execute(dump_in_gbk(charset, collation), database);
            ASSERT_TRUE(loaded.has_value()) << database << ": " << loaded.error().describe();
        }
    }

    void SetUp() override {
        auto raw = open_mariadb_site(test::fixture_server().address(GetParam()), kClock);
        ASSERT_TRUE(raw.has_value()) << raw.error().describe();
        auto charset = detect_site_charset(**raw, "dede_");
        ASSERT_TRUE(charset.has_value()) << charset.error().describe();
        ASSERT_EQ(*charset, SiteCharset::gbk);
        db_ = gbk_text_site(std::move(*raw));
        auto loaded = Site::load(*db_, {"dede_", kClock, SiteCharset::gbk});
        ASSERT_TRUE(loaded.has_value()) << loaded.error().describe();
        site_ = std::move(*loaded);
        PhpOptions options;
        options.now = kClock.now;
        php_ = std::make_unique<LazyPhp>(*site_, options);
    }

    std::string render(const std::string& source, int typeid_ = 0) {
        Renderer renderer(*site_, kFixtures / "templets", php_.get());
        Page page = index_page(*site_, typeid_);
        std::string html = renderer.render_page(source, page, "gbk.htm");
        for (const RenderIssue& issue : renderer.issues()) ADD_FAILURE() << issue.message;
        return html;
    }

    std::unique_ptr<SiteDatabase> db_;
    std::optional<Site> site_;
    std::unique_ptr<LazyPhp> php_;
};

TEST_P(GbkSites, PagesReadAsFromTheUtf8Copy) {
    const std::string manifest = slurp(kFixtures / "cases/MANIFEST");
    for (const std::string name : {"04_field_home", "05_field_category", "16_static_url_namerule_utc8",
                                   "29_channel_types", "33_mytag", "34_type", "37_sql"}) {
        const size_t line = manifest.find("case " + name + ".htm ");
        ASSERT_NE(line, std::string::npos) << name;
        const int typeid_ = std::stoi(manifest.substr(line + name.size() + 10));
        const std::string expected = slurp(kFixtures / "cases" / (name + ".expected.html"));
        EXPECT_EQ(render(slurp(kFixtures / "cases" / (name + ".htm")), typeid_), expected) << name;
    }
    // And go out as GBK.
    EXPECT_EQ(site_->in_site_encoding(render("{dede:global.cfg_webname/}|乗")),
              "\xD6\xAF\xC3\xCE\xCA\xBE\xC0\xFD\xD5\xBE\xB5\xE3|\x81\x5C");
}

TEST_P(GbkSites, LengthsAndAddressesCountGbkBytes) {
    // 国内经济形势稳中向好（1） is article 1: ten bytes are five characters in GBK (the UTF-8
    // edition would give four, one past ten bytes).
    // Each arclist item ends in "\r\n", as in DedeCMS.
    EXPECT_EQ(render("{dede:arclist idlist='1' titlelen='10'}[field:title/]{/dede:arclist}"), "国内经济形\r\n");
    EXPECT_EQ(render("{dede:arclist idlist='1' titlelen='9'}[field:title/]{/dede:arclist}"), "国内经济\r\n");
    EXPECT_EQ(render("{dede:arclist idlist='1'}[field:title function='cn_substr(@me, 5)'/]{/dede:arclist}"),
              "国内\r\n");
    // PHP sees the GBK bytes: 织梦示例站点 is twelve of them.
    EXPECT_EQ(render("{dede:global.cfg_webname function='strlen(@me)'/}"), "12");
    // urlencode of the GBK bytes: 教程 is BD CC B3 CC.
    EXPECT_EQ(render("{dede:hotwords num='1'/}"), "　<a href='/plus/search.php?keyword=PHP%BD%CC%B3%CC'>PHP教程</a> ");
}

TEST_P(GbkSites, LiteralsKeepCharactersThatEndInABackslashByte) {
    // 乗 is 81 5C in GBK: its second byte must not escape the closing quote.
    EXPECT_EQ(render("{dede:sql sql=\"SELECT '乗' AS a, 'b\\\\' AS b, CONCAT('乗', typename) AS c FROM dede_arctype "
                     "WHERE id = 1\"}[field:a/]|[field:b/]|[field:c/]{/dede:sql}"),
              "乗|b\\|乗" + *db_->select("SELECT typename FROM dede_arctype WHERE id = 1")->rows[0][0]);
}

TEST_P(GbkSites, ArticleSubtitlesAreCutInGbkBytes) {
    Renderer renderer(*site_, kFixtures / "templets", php_.get());
    auto page = render_article_page(renderer, kFixtures / "templets", 43, 2);
    ASSERT_TRUE(page.has_value()) << page.error().describe();
    for (const RenderIssue& issue : renderer.issues()) ADD_FAILURE() << issue.message;
    auto part = [&](std::string_view from, std::string_view to) {
        const size_t begin = page->html.find(from);
        return begin == std::string::npos ? std::string()
                                          : page->html.substr(begin, page->html.find(to, begin) - begin);
    };
    // The GBK edition's cut does not overshoot into "#e#", so "副标题" is a name DedeCMS drops.
    EXPECT_EQ(part("<div class=\"pagetitle\">", "</div>"), "<div class=\"pagetitle\"><a href='43.html'>概述</a> \r\n");
    EXPECT_EQ(part("<div class=\"pagetitle-select\">", "</div>"),
              "<div class=\"pagetitle-select\"><select id='dedepagetitles' "
              "onchange='location.href=this.options[this.selectedIndex].value;'>\r\n"
              "<option value='43.html'>1、概述</option>\r\n</select>\r\n");
    // Keyword links and the page's summary as on the UTF-8 copy.
    const std::string expected = slurp(kFixtures / "cases/article_43_p2.expected.html");
    for (std::string_view line : {"<div class=\"body\">", "<p class=\"kw\">", "<div class=\"pagebreak\">"}) {
        const size_t at = expected.find(line);
        ASSERT_NE(at, std::string::npos) << line;
        const std::string whole = expected.substr(at, expected.find('\n', at) - at);
        EXPECT_NE(page->html.find(whole), std::string::npos) << whole;
    }
}

INSTANTIATE_TEST_SUITE_P(Labels, GbkSites, ::testing::Values("gbk_copy", "latin1_copy"));

}  // namespace
}  // namespace brindle::dede
