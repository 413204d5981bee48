// brindle-check over a corpus with one kind of mistake per template, each diagnostic exact.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "tools/check/check_run.h"
#include "tools/check/dede_tags.h"
#include "tools/check/template_check.h"

namespace brindle::check {
namespace {

const std::string kCorpus = BRINDLE_CHECK_CORPUS;

struct Ran {
    int status = 0;
    std::string out, err;
};

Ran run(std::vector<std::string> args) {
    std::ostringstream out, err;
    int status = run_check(args, out, err);
    return {status, out.str(), err.str()};
}

std::string in_corpus(const std::string& name) { return kCorpus + "/" + name; }

// The expected report of one corpus file: "LINE:COL: severity: message" lines, prefixed with its path.
std::string report(const std::string& name, std::initializer_list<std::string> lines) {
    std::string out;
    for (const std::string& line : lines) out += in_corpus(name) + ":" + line + "\n";
    return out;
}

TEST(CheckCorpus, CleanTemplateGivesNothing) {
    Ran r = run({in_corpus("clean.htm")});
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
}

TEST(CheckCorpus, OpeningsClosingsAndTheOneLineForm) {
    Ran r = run({in_corpus("pairing.htm")});
    EXPECT_EQ(r.out, report("pairing.htm",
                            {"2:1: error: {dede:arclist} has no matching {/dede:arclist}",
                             "5:5: error: {dede:field.title} has no matching {/dede:field.title}; a tag without a "
                             "body ends in /}",
                             "6:1: error: {/dede:list} has no matching {dede:list}"}));
    EXPECT_EQ(r.status, 1);
}

TEST(CheckCorpus, CrossedNestingIsOneErrorAndTheInnerTagStillCloses) {
    Ran r = run({in_corpus("crossed.htm")});
    EXPECT_EQ(r.out, report("crossed.htm", {"4:1: error: {/dede:channel} closes {dede:channel} while "
                                            "{dede:arclist} opened at 2:3 is still open"}));
    EXPECT_EQ(r.status, 1);
}

TEST(CheckCorpus, AttributeSyntax) {
    Ran r = run({in_corpus("attributes.htm")});
    EXPECT_EQ(r.out, report("attributes.htm", {"1:19: error: unbalanced quote in the value of attribute 'row'",
                                               "2:12: error: attribute 'pagesize' has no value",
                                               "3:22: error: attribute 'row' appears twice (first at 3:13)",
                                               "4:15: error: value without an attribute name"}));
    EXPECT_EQ(r.status, 1);
}

TEST(CheckCorpus, UnknownNamesAreWarningsWithTheNearestKnownName) {
    Ran r = run({in_corpus("names.htm")});
    EXPECT_EQ(r.out, report("names.htm",
                            {"1:1: warning: unknown tag {dede:arclst}; did you mean {dede:arclist}?",
                             "2:15: warning: {dede:arclist} takes no attribute 'titlelenn'; did you mean 'titlelen'?",
                             "3:16: warning: [field:title] takes no attribute 'functon'; did you mean 'function'?",
                             "5:1: warning: unknown tag {dede:frobnicate}",
                             "6:12: warning: {dede:list} takes no attribute 'colour'"}));
    EXPECT_EQ(r.status, 0) << "warnings alone leave the run clean";
}

TEST(CheckCorpus, FieldPlacementAndTermination) {
    Ran r = run({in_corpus("fields.htm")});
    EXPECT_EQ(r.out, report("fields.htm", {"1:4: error: [field:title] is outside any list tag",
                                           "3:3: error: [field:title is not closed with ]",
                                           "4:3: error: [field:face] has no matching [/field:face]",
                                           "6:1: error: [/field:litpic] has no matching [field:litpic]"}));
    EXPECT_EQ(r.status, 1);
}

TEST(CheckCorpus, GbkTemplateIsReadAndColumnsCountCharacters) {
    std::ifstream in(in_corpus("gbk.htm"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto decoded = decode_template(bytes);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_TRUE(decoded->was_gbk);
    EXPECT_NE(decoded->text.find("网站名称："), std::string::npos);

    // After "<p>网站名称：" the tag starts at character 9, whatever the bytes per character.
    Ran r = run({in_corpus("gbk.htm")});
    EXPECT_EQ(r.out, report("gbk.htm", {"2:9: error: {dede:global.cfg_webname} has no matching "
                                        "{/dede:global.cfg_webname}; a tag without a body ends in /}"}));
}

TEST(CheckCorpus, DirectoryWalkTakesTemplatesInNameOrder) {
    Ran r = run({in_corpus("site")});
    EXPECT_EQ(r.out, in_corpus("site") + "/index.htm:1:1: error: {dede:arclist} has no matching {/dede:arclist}\n" +
                         in_corpus("site") + "/news/list.HTML:2:1: error: {/dede:list} has no matching {dede:list}\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 1);
}

TEST(CheckCorpus, JsonIsOneDocument) {
    Ran r = run({"--format", "json", in_corpus("crossed.htm"), in_corpus("clean.htm")});
    EXPECT_EQ(r.out, "{\n  \"files\": 2,\n  \"errors\": 1,\n  \"warnings\": 0,\n  \"diagnostics\": [\n"
                     "    {\"file\": \"" + in_corpus("crossed.htm") + "\", \"line\": 4, \"column\": 1, \"severity\": "
                     "\"error\", \"message\": \"{/dede:channel} closes {dede:channel} while {dede:arclist} opened at "
                     "2:3 is still open\"}\n  ],\n  \"unreadable\": []\n}\n");
    EXPECT_EQ(r.status, 1);
}

TEST(CheckFiles, UnreadablePathsAreOneLineEachAndStatusTwo) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("brindle-check-test-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "binary.htm", std::ios::binary).write("<p>\xFF\xFE\x00</p>", 9);

    Ran r = run({(dir / "missing.htm").string(), (dir / "binary.htm").string(), in_corpus("clean.htm")});
    EXPECT_EQ(r.err, "brindle-check: " + (dir / "missing.htm").string() + ": no such file or directory\n" +
                         "brindle-check: " + (dir / "binary.htm").string() +
                         ": neither UTF-8 nor GBK text (byte 0xFF at offset 3); skipped\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 2);
    fs::remove_all(dir);

    Ran bad = run({"--format", "xml", in_corpus("clean.htm")});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err.substr(0, bad.err.find('\n')), "brindle-check: --format takes text or json, not 'xml'");
}

TEST(CheckText, FragmentsAreJudgedOnNamesOnly) {
    // A fragment may open a tag that another fragment closes: no pairing or placement errors.
    const std::string fragment = "[field:title/]{/dede:arclist}{dede:arclst row='5'}{dede:list pagesize}";
    auto all = check_template(fragment, {.names_only = true});
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0], (Diagnostic{1, 30, Severity::Warning, "unknown tag {dede:arclst}; did you mean {dede:arclist}?"}));
}

TEST(CheckText, DedeCmsLeniencies) {
    // Blanks around '=', unquoted values holding quotes, a multi-line quoted value, case in names,
    // PHP inside a field pair, braces of scripts and a dotted block closed by its full name.
    const std::string text =
        "{dede:channel type='top' typeid ='1' row ='8'}[field:typename/]{/dede:channel}\n"
        "{DEDE:x}{dede:arclist ROW=5 flag ='h'}[field:pubdate function=MyDate('m-d',@me)/]{/dede:arclist}\n"
        "{dede:sql sql=\"select a\nfrom b\"}[field:array runphp='yes']if(1){@me='}';}[/field:array]{/dede:sql}\n"
        "<script>if (a) { b = {c: 1}; }</script>{dede:field.intro runphp='yes'}@me='';{/dede:field.intro}\n";
    EXPECT_EQ(check_template(text), std::vector<Diagnostic>{});
}

TEST(CheckDedeTable, SortedUniqueAndLowerCase) {
    auto tags = dede_tags();
    for (size_t i = 0; i < tags.size(); ++i) {
        EXPECT_EQ(find_dede_tag(tags[i].name), &tags[i]) << tags[i].name;
        if (i) {
            EXPECT_LT(tags[i - 1].name, tags[i].name);
        }
        for (char c : tags[i].name) EXPECT_TRUE(c >= 'a' && c <= 'z') << tags[i].name;
    }
}

}  // namespace
}  // namespace brindle::check
