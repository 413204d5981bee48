// brindle-preview's command line over the sample site the build wrote: the page on stdout, each
// diagnostic as file:line:column on stderr, and the exit status that says which.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "tools/preview/preview_command.h"

namespace brindle::preview {
namespace {

namespace fs = std::filesystem;

struct Ran {
    int status = 0;
    std::string out, err;
};

Ran preview(std::vector<std::string> args) {
    std::ostringstream out, err;
    int status = run_preview(args, BRINDLE_BUILD_DIR, out, err);
    return {status, out.str(), err.str()};
}

Ran render_tag(const std::string& tag) { return preview({"render", "--now", "2024-06-01 12:00:00", "--tag", tag}); }

struct Scratch {
    fs::path path = fs::temp_directory_path() / ("brindle-preview-" + std::to_string(::getpid()));
    Scratch() { fs::create_directories(path); }
    ~Scratch() { fs::remove_all(path); }
};

TEST(PreviewCommand, RendersFromTheSampleSiteByDefault) {
    Ran r = render_tag("<b>{dede:global.cfg_webname/}</b>{dede:arclist row='2' orderby='id' orderway='asc'}[[field:id/]]{/dede:arclist}");
    EXPECT_EQ(r.out, "<b>织梦示例站点</b>[1]\r\n[2]\r\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);

    // A current category for the page.
    Ran typed = preview({"render", "--typeid", "5", "--tag", "{dede:field.typename/}|{dede:field.title/}"});
    EXPECT_EQ(typed.out, "国内新闻|新闻中心 > 国内新闻");

    // An article's page N, here a dynamic one through its category's template.
    Ran article = preview({"render", "--now", "2024-06-01 12:00:00", "--article", "17", "--page", "2"});
    EXPECT_EQ(article.status, 0);
    EXPECT_EQ(article.err, "");
    EXPECT_NE(article.out.find("<h2>公司荣获年度优秀企业称号（17）(2)</h2>\n"
                               "      <p class=\"info\">2022-07-13 01:28 · 编辑部 · 本站</p>\n"
                               "      <div class=\"body\"><p>动态第二页</p></div>\n"),
              std::string::npos)
        << article.out;
}

TEST(PreviewCommand, TheSiteIsNeverWrittenAndFaultsShowWhereTheyAre) {
    const std::string deleting = "first line\n  {dede:sql sql=\"DELETE FROM dede_archives\"}[field:id/]{/dede:sql}";
    Ran r = render_tag(deleting);
    EXPECT_EQ(r.out, "first line\n  ");
    EXPECT_EQ(r.err, "--tag:2:3: error: {dede:sql}: only a SELECT is run on the site's database; this statement is not one\n");
    EXPECT_EQ(r.status, 1);
    // A statement that starts as a SELECT and writes all the same is refused by the database.
    Ran sneaky = render_tag("{dede:sql sql=\"SELECT 1; DELETE FROM dede_archives\"}[field:id/]{/dede:sql}");
    EXPECT_EQ(sneaky.status, 1);
    Ran count = render_tag("{dede:sql sql=\"SELECT count(*) AS n FROM dede_archives\"}<i>[field:n/]</i>{/dede:sql}");
    EXPECT_EQ(count.out, "<i>60</i>");

    Ran unended = render_tag("ok {dede:arclist row='1'} never closed");
    EXPECT_EQ(unended.out, "Tag Character postion 3, 'arclist' Error！<br />\r\nok {dede:arclist row='1'} never closed");
    EXPECT_EQ(unended.err, "--tag:1:4: error: {dede:arclist} never ends: DedeCMS stops reading tags here\n");
}

TEST(PreviewCommand, PhpComputesButNeverWritesOrRuns) {
    Ran r = render_tag("{dede:global.cfg_webname function='strlen(@me)'/} {dede:global.cfg_cli_time function=\"MyDate('H:m', 0)\"/}");
    EXPECT_EQ(r.out, "18 08:01");
    EXPECT_EQ(r.status, 0);

    Scratch s;
    const fs::path target = s.path / "written";
    for (const std::string& code : {"file_put_contents('" + target.string() + "', 'x')", std::string("exec('touch " + target.string() + "')"),
                                    std::string("file_get_contents('/etc/passwd')"), std::string("fsockopen('127.0.0.1', 22)")}) {
        Ran attempt = render_tag("page {dede:global.cfg_webname function=\"" + code + "\"/} goes on");
        EXPECT_EQ(attempt.out, "page  goes on") << code;
        EXPECT_TRUE(attempt.err.starts_with("--tag:1:6: error: ")) << code << ": " << attempt.err;
        EXPECT_EQ(attempt.status, 1) << code;
    }
    EXPECT_FALSE(fs::exists(target));
}

// Templates come from the web: whatever their shape, the page renders or stops with a diagnostic,
// in time proportional to its size.
TEST(PreviewCommand, HostileTemplatesEndInADiagnostic) {
    std::string nested;
    for (int i = 0; i < 100000; ++i) nested += "{dede:channelartlist}{dede:arclist row='1'}";
    Ran deep = render_tag(nested);
    EXPECT_EQ(deep.status, 1);
    EXPECT_EQ(deep.err, "--tag:1:1: error: {dede:channelartlist} never ends: DedeCMS stops reading tags here\n");

    std::string long_line(50 << 20, 'x');
    long_line += "{dede:global.cfg_webname/}";
    Ran wide = render_tag(long_line);
    EXPECT_EQ(wide.status, 0);
    EXPECT_EQ(wide.out.size(), (50u << 20) + std::string("织梦示例站点").size());

    Ran unterminated = render_tag("a {dede:");
    EXPECT_EQ(unterminated.out, "a {dede:");
    EXPECT_EQ(unterminated.status, 0);

    // Bytes that are not UTF-8 go out as they are, as DedeCMS sends them, with a warning.
    Scratch s;
    std::ofstream(s.path / "bytes.htm") << "ok\n\xff\xfe{dede:global.cfg_webname/}\xc3";
    Ran bytes = preview({"render", (s.path / "bytes.htm").string()});
    EXPECT_EQ(bytes.out, "ok\n\xff\xfe织梦示例站点\xc3");
    EXPECT_EQ(bytes.err, (s.path / "bytes.htm").string() +
                             ":2:1: warning: byte 0xFF is not UTF-8 text; the page carries it as it is\n");
    EXPECT_EQ(bytes.status, 0);
}

TEST(PreviewCommand, WhatCannotBeRenderedIsOneLineAndStatusTwo) {
    Scratch s;
    auto one_line = [](const Ran& r) { return r.status == 2 && r.out.empty() && r.err.find('\n') == r.err.size() - 1; };
    EXPECT_TRUE(one_line(preview({"render", (s.path / "missing.htm").string()})));
    EXPECT_TRUE(one_line(preview({"render", s.path.string()})));
    Ran site = preview({"render", "--site", "sqlite:" + (s.path / "none.sqlite").string(), "--tag", "x"});
    EXPECT_TRUE(site.err.starts_with("brindle-preview: the site cannot be opened: ")) << site.err;
    EXPECT_FALSE(fs::exists(s.path / "none.sqlite"));
    EXPECT_EQ(preview({"render", "--site", "ftp://x", "--tag", "x"}).status, 2);
    EXPECT_TRUE(preview({"render", "--now", "June", "--tag", "x"})
                    .err.starts_with("brindle-preview: --now takes 'YYYY-MM-DD HH:MM:SS', not 'June'\n"));
    EXPECT_EQ(preview({"render"}).status, 2);
    EXPECT_EQ(preview({"render", "--typeid", "x", "--tag", "x"}).status, 2);

    // An article a visitor may not read, one that is not there, a page past its last: one line each.
    auto article_error = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"render", "--article"});
        Ran r = preview(args);
        return r.status == 2 && r.out.empty() ? r.err : "status " + std::to_string(r.status) + ": " + r.err;
    };
    EXPECT_EQ(
        article_error({"60"}),
        "brindle-preview: article 60 is not published (arcrank -1): a visitor gets 文章尚未审核,非作者本人无权查看!\n");
    EXPECT_EQ(article_error({"999"}), "brindle-preview: there is no article 999\n");
    EXPECT_EQ(article_error({"5", "--page", "4"}), "brindle-preview: article 5 has 3 pages, not a page 4\n");
    EXPECT_TRUE(article_error({"5", "--list", "1"})
                    .starts_with("brindle-preview: name a template file, or give --tag, --list or --article\nusage: "));
    EXPECT_TRUE(article_error({"five"}).starts_with("brindle-preview: --article takes a number, not 'five'\n"));
}

TEST(PreviewCommand, ServeThatCannotStartSaysWhyInOneLine) {
    Scratch s;
    auto first_line = [](const Ran& r) { return r.err.substr(0, r.err.find('\n') + 1); };
    Ran port = preview({"serve", "--port", "70000"});
    EXPECT_EQ(port.status, 2);
    EXPECT_EQ(first_line(port), "brindle-preview: --port takes a number from 0 to 65535, not '70000'\n");
    EXPECT_EQ(first_line(preview({"serve", "--port"})),
              "brindle-preview: --port takes a number from 0 to 65535, not ''\n");
    EXPECT_EQ(first_line(preview({"serve", "--list", "1"})), "brindle-preview: serve takes no --list\n");
    Ran folder = preview({"serve", "--templets", (s.path / "none").string()});
    EXPECT_EQ(folder.status, 2);
    EXPECT_EQ(folder.err, "brindle-preview: cannot watch the templets folder: cannot list " +
                              (s.path / "none").string() + ": No such file or directory\n");
    EXPECT_EQ(folder.out, "");
}

TEST(PreviewCommand, SampleSiteWritesADatabaseThatRenders) {
    Scratch s;
    const std::string path = (s.path / "site.sqlite").string();
    ASSERT_EQ(preview({"sample-site", path}).status, 0);
    Ran r = preview({"render", "--site", "sqlite:" + path, "--tag", "{dede:global.cfg_webname/}"});
    EXPECT_EQ(r.out, "织梦示例站点");
    EXPECT_EQ(preview({"sample-site", (s.path / "no/such/dir/site.sqlite").string()}).status, 2);
    EXPECT_FALSE(fs::exists(s.path / "no"));
}

}  // namespace
}  // namespace brindle::preview
