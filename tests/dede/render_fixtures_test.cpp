// The engine against DedeCMS's own output: each fixture case rendered from the sample site (SQLite or
// MariaDB, by test program: fixture_site.h), compared byte for byte. The cases the engine renders
// exactly are listed; a listed case that no longer matches fails, and the run prints which of the
// others match now. The preview's sample site, with its own templates, must match on every page.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "dede/article_view.h"
#include "dede/lazy_php.h"
#include "dede/list_view.h"
#include "dede/pages.h"
#include "tests/dede/fixture_site.h"

namespace brindle::dede {
namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = BRINDLE_DEDE_FIXTURES;
const fs::path kSampleTemplets = BRINDLE_SAMPLE_TEMPLETS;

// 2024-06-01 12:00:00 UTC, the clock the fixtures were rendered under.
constexpr int64_t kFixtureClock = 1717243200;

// Cases that must match; grows as the engine learns tags.
const std::set<std::string> kMatching = {
    "01_global_cfg",
    "02_include_filename",
    "03_include_file_raw_missing",
    "04_field_home",
    "05_field_category",
    "06_arclist_fields",
    "07_titlelen_bytes_chinese",
    "08_titlelen_bytes_ascii",
    "09_infolen_bytes",
    "10_orderby_pubdate_is_sortrank",
    "11_orderway_vs_order",
    "12_typeid_children",
    "13_typeid_current_category",
    "14_arcrank_filter",
    "15_dynamic_article_url",
    "16_static_url_namerule_utc8",
    "17_custom_filename",
    "18_typeurl_index_dropped",
    "19_litpic_defaultpic",
    "20_flag_b_and_color",
    "21_function_zero_is_empty",
    "22_autoindex_bases",
    "23_typelink_channel_vs_arclist",
    "24_mydate_H_m_month",
    "25_no_nesting",
    "26_empty_tag_name_stops",
    "27_arclist_aliases",
    "28_imglist_default_bodies",
    "29_channel_types",
    "30_channel_current_top",
    "31_myad_home",
    "32_myad_category",
    "33_mytag",
    "34_type",
    "35_channelartlist",
    "36_tag",
    "37_sql",
    "38_flink",
    "39_hotwords",
    "40_field_functions",
    "41_runphp",
    "42_arclist_subday_limit",
    "43_arclist_col_table",
    "44_arclist_keyword_flag_att",
    "45_view_tags_outside_views",
    "46_attribute_parsing",
    "47_var_foreach",
    "48_replacestr",
    "list_1",
    "list_11",
    "list_1_p2",
    "list_2",
    "list_3",
    "list_4",
    "list_4_p2",
    "list_7",
    "list_7_p2",
    "list_7_p3",
    "article_1",
    "article_5",
    "article_5_p2",
    "article_5_p3",
    "article_12",
    "article_13",
    "article_17",
    "article_17_p2",
    "article_23",
    "article_27",
    "article_27_p2",
    "article_27_p3",
    "article_43",
    "article_43_p2",
    "article_43_p3",
    "article_43_p4",
    "article_43_p5",
    "article_53",
};

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class Fixtures : public ::testing::Test {
protected:
    static inline std::unique_ptr<SiteDatabase> db;
    static inline std::optional<Site> site;
    static inline std::unique_ptr<LazyPhp> php;

    static void SetUpTestSuite() {
        db = open_fixture_site({kFixtureClock});
        ASSERT_TRUE(db);
        auto loaded = Site::load(*db, {"dede_", {kFixtureClock}});
        ASSERT_TRUE(loaded.has_value()) << loaded.error().describe();
        site = std::move(*loaded);
        PhpOptions options;
        options.readable_dirs = {kFixtures.string()};
        options.now = kFixtureClock;
        php = std::make_unique<LazyPhp>(*site, options);
    }
    static void TearDownTestSuite() {
        php.reset();
        site.reset();
        db.reset();
        close_fixture_site();
    }

    // The lines of a set's manifest of one kind ("case", "list", "article", "home"), split in words.
    std::vector<std::vector<std::string>> manifest(std::string_view kind, const fs::path& set = kFixtures / "cases") {
        std::vector<std::vector<std::string>> out;
        std::istringstream lines(slurp(set / "MANIFEST"));
        for (std::string line; std::getline(lines, line);) {
            std::istringstream words(line);
            std::vector<std::string> split;
            for (std::string word; words >> word;) split.push_back(word);
            if (!split.empty() && split[0] == kind) out.emplace_back(split.begin() + 1, split.end());
        }
        return out;
    }

    // A "list TYPEID PAGE" or "article AID [PAGE]" line rendered from `templets`, and the name of its
    // expected file (list_T[_pP], article_A[_pP]).
    struct LinePage {
        std::string name;
        Result<RenderedPage> page;
    };
    LinePage render_line(Renderer& renderer, const fs::path& templets, std::string_view kind,
                         const std::vector<std::string>& words) {
        const int page_no = words.size() > 1 ? std::stoi(words[1]) : 1;
        std::string name = std::string(kind) + "_" + words[0] + (page_no == 1 ? "" : "_p" + std::to_string(page_no));
        if (kind == "list") return {name, render_list_page(renderer, templets, std::stoi(words[0]), page_no)};
        return {name, render_article_page(renderer, templets, std::stoi(words[0]), page_no)};
    }

    void dump(const std::string& name, const std::string& got, const Renderer& renderer) {
        if (const char* dump = std::getenv("BRINDLE_FIXTURE_DUMP")) {
            std::ofstream(fs::path(dump) / (name + ".html")) << got;
            for (const RenderIssue& issue : renderer.issues()) std::cerr << name << ": " << issue.message << "\n";
        }
    }
};

TEST_F(Fixtures, CasesRenderAsDedeCmsRendersThem) {
    std::string now_matching;
    for (const auto& words : manifest("case")) {
        const std::string name = words[0].substr(0, words[0].size() - 4);
        const int typeid_ = std::stoi(words[1]);
        const std::string source = slurp(kFixtures / "cases" / (name + ".htm"));
        const std::string expected = slurp(kFixtures / "cases" / (name + ".expected.html"));
        Renderer renderer(*site, kFixtures / "templets", php.get());
        Page page = index_page(*site, typeid_);
        std::string got = renderer.render_page(source, page, name + ".htm");
        dump(name, got, renderer);
        if (kMatching.contains(name)) EXPECT_EQ(got, expected) << name;
        else if (got == expected) now_matching += " " + name;
    }
    if (!now_matching.empty()) std::cout << "also matching now:" << now_matching << "\n";
}

TEST_F(Fixtures, PhpStartsOnlyForATemplateThatHasSome) {
    LazyPhp unused(*site, PhpOptions{});
    Renderer renderer(*site, kFixtures / "templets", &unused);
    Page page = index_page(*site, 0);
    renderer.render_page(slurp(kFixtures / "cases/35_channelartlist.htm"), page, "35_channelartlist.htm");
    EXPECT_FALSE(unused.started());
}

TEST_F(Fixtures, ListAndArticlePagesRenderAsDedeCmsWritesThem) {
    std::string now_matching;
    for (const char* kind : {"list", "article"}) {
        for (const auto& words : manifest(kind)) {
            Renderer renderer(*site, kFixtures / "templets", php.get());
            auto [name, page] = render_line(renderer, kFixtures / "templets", kind, words);
            ASSERT_TRUE(page.has_value()) << name << ": " << page.error().describe();
            dump(name, page->html, renderer);
            const std::string expected = slurp(kFixtures / "cases" / (name + ".expected.html"));
            if (kMatching.contains(name))
                EXPECT_EQ(page->html, expected) << name;
            else if (page->html == expected)
                now_matching += " " + name;
        }
    }
    if (!now_matching.empty()) std::cout << "also matching now:" << now_matching << "\n";
}

TEST_F(Fixtures, SampleSitePagesRenderAsDedeCmsWritesThem) {
    const fs::path set = kFixtures / "sample_pages";
    auto expect_page = [&](const std::string& name, const Result<RenderedPage>& page, const Renderer& renderer) {
        ASSERT_TRUE(page.has_value()) << name << ": " << page.error().describe();
        dump("sample_" + name, page->html, renderer);
        EXPECT_EQ(page->html, slurp(set / (name + ".expected.html"))) << name;
        EXPECT_EQ(renderer.issues().size(), 0u) << name;
    };
    ASSERT_EQ(manifest("home", set).size(), 1u);
    {
        Renderer renderer(*site, kSampleTemplets, php.get());
        const fs::path file = kSampleTemplets / "default/index.htm";
        Page page = index_page(*site, 0);
        expect_page("home", RenderedPage{renderer.render_page(slurp(file), page, file.string()), file.string()},
                    renderer);
    }
    for (const char* kind : {"list", "article"}) {
        for (const auto& words : manifest(kind, set)) {
            Renderer renderer(*site, kSampleTemplets, php.get());
            auto [name, page] = render_line(renderer, kSampleTemplets, kind, words);
            expect_page(name, page, renderer);
        }
    }
}

}  // namespace
}  // namespace brindle::dede
