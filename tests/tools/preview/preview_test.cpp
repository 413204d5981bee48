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
}

TEST(PreviewCommand, ServeThatCannotStartSaysWhyInOneLine) {
    Scratch s;
    auto first_line = [](const Ran& r) { return r.err.substr(0, r.err.find('\n') + 1); };
    Ran port = preview({"serve", "--port", "70000"});
    EXPECT_EQ(port.status, 2);
    EXPECT_EQ(first_line(port), "brindle-preview: --port takes a number from 0 to 65535, not '70000'\n");
    EXPECT_EQ(first_line(preview({"serve", "--port"})), "brindle-preview: --port takes a number from 0 to 65535, not ''\n");
    EXPECT_EQ(first_line(preview({"serve", "--list", "1"})), "brindle-preview: serve takes no --list\n");
    Ran folder = preview({"serve", "--templets", (s.path / "none").string()});
    EXPECT_EQ(folder.status, 2);
    EXPECT_EQ(folder.err, "brindle-preview: cannot watch the templets folder: cannot list " + (s.path / "none").string() +
                              ": No such file or directory\n");
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
