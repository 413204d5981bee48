// brindle-check over a corpus with one kind of mistake per template, each diagnostic exact.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

#include <QJsonDocument>
#include <QJsonParseError>

#include "common/hex.h"
#include "dede/tag_table.h"
#include "dede/template_check.h"
#include "tools/check/check_run.h"

namespace brindle::dede {

void PrintTo(const Diagnostic& d, std::ostream* os) {
    *os << d.line << ":" << d.column << ": " << severity_name(d.severity) << ": " << d.message;
}

}  // namespace brindle::dede

namespace brindle::check {
namespace {

using dede::check_template;
using dede::Diagnostic;
using dede::Severity;

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
    // An attribute the tag does not read is a warning only as a near miss of one it does ('colour' is not).
    Ran r = run({in_corpus("names.htm")});
    EXPECT_EQ(r.out, report("names.htm",
                            {"1:1: warning: unknown tag {dede:arclst}; did you mean {dede:arclist}?",
                             "2:15: warning: {dede:arclist} attribute 'titlelenn' is ignored by DedeCMS; did you mean 'titlelen'?",
                             "3:16: warning: [field:title] attribute 'functon' is ignored by DedeCMS; did you mean 'function'?",
                             "5:1: warning: unknown tag {dede:frobnicate}"}));
    EXPECT_EQ(r.status, 0) << "warnings alone leave the run clean";
}

TEST(CheckCorpus, FieldPlacementAndTermination) {
    Ran r = run({in_corpus("fields.htm")});
    EXPECT_EQ(r.out, report("fields.htm", {"1:4: warning: [field:title] is outside any block tag and will print as written",
                                           "3:3: error: [field:title is not closed with ]",
                                           "4:3: error: [field:face] has no matching [/field:face]",
                                           "6:1: error: [/field:litpic] has no matching [field:litpic]"}));
    EXPECT_EQ(r.status, 1);
}

TEST(CheckCorpus, ShapesOfDedeCmsOwnTemplatesAreClean) {
    // [field:] in the body of any block tag, runphp fields, notes in attributes DedeCMS ignores, the
    // tags of its parser and libraries; and a form of its compiling engine, whose loops close by their
    // first name and whose other names are functions.
    Ran r = run({in_corpus("blocks.htm"), in_corpus("compiled/cart.htm")});
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 0);
}

TEST(CheckCorpus, WhatDedeCmsIgnoresOrDrops) {
    Ran r = run({in_corpus("dedecms_rules.htm")});
    EXPECT_EQ(r.out, report("dedecms_rules.htm",
                            {"1:4: warning: [field:title] is outside any block tag and will print as written",
                             "2:23: warning: {dede:arclist} attribute 'titlelenn' is ignored by DedeCMS; did you mean 'titlelen'?",
                             "3:7: warning: {dede:field} inside {dede:arclist} will print as written: DedeCMS does not parse "
                             "the body of {dede:arclist} again",
                             "3:40: warning: [field:title] attribute 'functon' is ignored by DedeCMS; did you mean 'function'?",
                             "9:1: error: {dede:sql} takes 1057 bytes with its attributes, over DedeCMS's limit of 1024: "
                             "DedeCMS prints the whole tag as written"}));
    EXPECT_EQ(r.status, 1);
}

TEST(CheckCorpus, GbkTemplateIsReadAndColumnsCountCharacters) {
    std::ifstream in(in_corpus("gbk.htm"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto decoded = dede::decode_template(bytes);
    EXPECT_EQ(decoded.encoding, dede::TemplateEncoding::Gbk);
    EXPECT_EQ(decoded.undecodable, std::vector<dede::UndecodableByte>{});
    EXPECT_NE(decoded.text.find("网站名称："), std::string::npos);

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
    EXPECT_EQ(r.err, "brindle-check: " + (dir / "missing.htm").string() + ": no such file or directory\n");
    // Bytes that neither reading decodes are reported where they stand; the rest is still checked.
    EXPECT_EQ(r.out, (dir / "binary.htm").string() + ":1:4: warning: byte 0xFF is not UTF-8 text (the file is read as UTF-8)\n" +
                         (dir / "binary.htm").string() + ":1:5: warning: byte 0xFE is not UTF-8 text (the file is read as UTF-8)\n");
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

TEST(CheckText, SuggestionsOnlyForNamesThatComeClose) {
    // Two edits turn "ad" into "ask": as far as the whole name, so no suggestion.
    EXPECT_EQ(check_template("{dede:ad/}"), (std::vector<Diagnostic>{{1, 1, Severity::Warning, "unknown tag {dede:ad}"}}));
    // A tag whose attributes the table does not list takes any.
    EXPECT_EQ(check_template("{dede:tag row=\"10\" sort=\"new\"}[field:tag/]{/dede:tag}"), std::vector<Diagnostic>{});
}

TEST(CheckText, AFieldLeftOpenEndsAtItsLine) {
    // Its ']' on a later line belongs to other text: one error, and the closing tag still closes.
    const std::string text =
        "{dede:arclist row='3'}\n"
        "<li>[field:title</li>\n"
        "<li>see the notes] and more</li>\n"
        "{/dede:arclist}\n";
    EXPECT_EQ(check_template(text), (std::vector<Diagnostic>{{2, 5, Severity::Error, "[field:title< is not closed with ]"}}));
}

TEST(CheckText, TheLengthLimitCountsBytesOfTheFilesOwnEncoding) {
    std::string chinese;
    for (int i = 0; i < 400; ++i) chinese += "网";
    const std::string tag = "{dede:field name='" + chinese + "'/}";  // 1,217 bytes in UTF-8, 817 in GBK
    EXPECT_EQ(check_template(dede::DecodedTemplate{tag, dede::TemplateEncoding::Utf8, {}}).size(), 1u);
    EXPECT_EQ(check_template(dede::DecodedTemplate{tag, dede::TemplateEncoding::Gbk, {}}), std::vector<Diagnostic>{});
}

TEST(CheckDedeTable, SortedUniqueAndLowerCase) {
    auto tags = dede::dede_tags();
    for (size_t i = 0; i < tags.size(); ++i) {
        EXPECT_EQ(dede::find_dede_tag(tags[i].name), &tags[i]) << tags[i].name;
        if (i) {
            EXPECT_LT(tags[i - 1].name, tags[i].name);
        }
        for (char c : tags[i].name) EXPECT_TRUE(c >= 'a' && c <= 'z') << tags[i].name;
    }
}

// Shapes that once took quadratic time. Each is checked whole at a few MB; the ctest time-out of
// this binary is the generous bound, and bench_template_check holds the figures.
TEST(CheckHostile, ShapesThatOnceTookQuadraticTime) {
    constexpr size_t kCount = 400000;
    auto repeat = [](std::string_view unit, size_t n) {
        std::string out;
        out.reserve(unit.size() * n);
        for (size_t i = 0; i < n; ++i) out += unit;
        return out;
    };
    auto found = check_template(repeat("{dede:x ", kCount));
    ASSERT_EQ(found.size(), kCount);
    EXPECT_EQ(found.back(), (Diagnostic{1, static_cast<int>(8 * (kCount - 1) + 1), Severity::Error,
                                        "{dede:x is not closed with }"}));

    found = check_template("{dede:list}" + repeat("[field:title]", kCount) + "{/dede:list}");
    ASSERT_EQ(found.size(), kCount);
    EXPECT_EQ(found.back().message, "[field:title] has no matching [/field:title]");

    std::string opens, closes;
    for (size_t i = 0; i < kCount / 8; ++i) {
        opens += "{dede:a" + std::to_string(i) + "}";
        closes += "{/dede:a" + std::to_string(i) + "}";
    }
    found = check_template(opens + closes, {});
    size_t crossings = std::count_if(found.begin(), found.end(), [](const Diagnostic& d) { return d.severity == Severity::Error; });
    EXPECT_EQ(crossings, kCount / 8 - 1);  // every closing but the last crosses the newest open tag
    EXPECT_EQ(found.back().message, "{/dede:a" + std::to_string(kCount / 8 - 2) + "} closes {dede:a" +
                                         std::to_string(kCount / 8 - 2) + "} while {dede:a" + std::to_string(kCount / 8 - 1) +
                                         "} opened at 1:" + std::to_string(opens.size() - std::to_string(kCount / 8 - 1).size() - 8 + 1) +
                                         " is still open");

    found = check_template("{dede:arclist" + repeat(" row='1'", kCount) + "/}");
    ASSERT_EQ(found.size(), kCount);  // every row after the first, and the tag's length
    EXPECT_EQ(found.front().message, "{dede:arclist} takes " + std::to_string(7 + 8 * kCount) +
                                         " bytes with its attributes, over DedeCMS's limit of 1024: DedeCMS prints the whole "
                                         "tag as written");
    EXPECT_EQ(found.back().message, "attribute 'row' appears twice (first at 1:15)");

    // A name of megabytes: one line of report each, the name shown cut.
    found = check_template("{dede:" + std::string(5 << 20, 'x') + "}");
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].message, "{dede:" + std::string(64, 'x') + "…} takes 5242880 bytes with its attributes, over "
                                "DedeCMS's limit of 1024: DedeCMS prints the whole tag as written");
    EXPECT_EQ(found[1].message, "unknown tag {dede:" + std::string(64, 'x') + "…}");
    EXPECT_EQ(found[2].message, "{dede:" + std::string(64, 'x') + "…} has no matching {/dede:" + std::string(64, 'x') + "…}");

    found = check_template(std::string(size_t{8} << 20, '\n') + "{/dede:x}");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].line, (8 << 20) + 1);
}

TEST(CheckHostile, ControlBytesInNamesAndTemplatesNeverReachTheTerminal) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("brindle-check-escapes-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string name = (dir / "x\x1b[2J\nend.htm").string();
    std::ofstream(name, std::ios::binary) << "{dede:\x1b]0;owned\x07x}\n{dede:\xc2\x9b" "31m/}";

    Ran r = run({name});
    const std::string shown = (dir / "x\\x1b[2J\\nend.htm").string();
    EXPECT_EQ(r.out, shown + ":1:1: warning: unknown tag {dede:\\x1b]0;owned\\x07x}\n" +
                         shown + ":1:1: error: {dede:\\x1b]0;owned\\x07x} has no matching {/dede:\\x1b]0;owned\\x07x}\n" +
                         shown + ":2:1: warning: unknown tag {dede:\\u009b31m}\n");
    // A file that cannot be read is named the same way on stderr.
    Ran missing = run({(dir / "gone\x1b[31m.htm").string()});
    EXPECT_EQ(missing.err, "brindle-check: " + (dir / "gone\\x1b[31m.htm").string() + ": no such file or directory\n");
    fs::remove_all(dir);
}

TEST(CheckHostile, JsonStaysValidUtf8WhateverTheFileNames) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("brindle-check-json-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string latin1 = (dir / "lat\xe9.htm").string();
    std::ofstream(latin1) << "{/dede:list}";

    Ran r = run({"--format=json", "--", latin1, (dir / "gone\xff").string()});
    const std::string dir_text = dir.string();
    EXPECT_EQ(r.out, "{\n  \"files\": 1,\n  \"errors\": 1,\n  \"warnings\": 0,\n  \"diagnostics\": [\n"
                     "    {\"file\": \"" + dir_text + "/lat\xef\xbf\xbd.htm\", \"file_hex\": \"" + hex_bytes(latin1) +
                     "\", \"line\": 1, \"column\": 1, \"severity\": \"error\", \"message\": \"{/dede:list} has no matching "
                     "{dede:list}\"}\n  ],\n  \"unreadable\": [\n    {\"file\": \"" + dir_text + "/gone\xef\xbf\xbd\", "
                     "\"file_hex\": \"" + hex_bytes(dir_text + "/gone\xff") + "\", \"reason\": \"no such file or directory\"}\n  ]\n}\n");
    QJsonParseError error;
    QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    fs::remove_all(dir);
}

TEST(CheckFiles, SpecialFilesAreRefusedAtOnceAndOptionsEndAtDoubleDash) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("brindle-check-special-" + std::to_string(::getpid()));
    fs::create_directories(dir / "walk/locked");
    ASSERT_EQ(::mkfifo((dir / "fifo.htm").c_str(), 0600), 0);
    Ran r = run({(dir / "fifo.htm").string(), "/dev/zero"});
    EXPECT_EQ(r.err, "brindle-check: " + (dir / "fifo.htm").string() + ": not a regular file\n" +
                         "brindle-check: /dev/zero: not a regular file\n");
    EXPECT_EQ(r.status, 2);

    std::ofstream(dir / "--format") << "{/dede:list}";
    Ran dashed = run({"--", (dir / "--format").string()});
    EXPECT_EQ(dashed.out, (dir / "--format").string() + ":1:1: error: {/dede:list} has no matching {dede:list}\n");

    // A folder that cannot be listed is named, and the walk goes on (root lists any folder).
    std::ofstream(dir / "walk/a.htm") << "{/dede:x}";
    fs::permissions(dir / "walk/locked", fs::perms::none);
    Ran walked = run({(dir / "walk").string()});
    EXPECT_EQ(walked.out, (dir / "walk/a.htm").string() + ":1:1: error: {/dede:x} has no matching {dede:x}\n");
    if (::geteuid() != 0) {
        EXPECT_EQ(walked.err, "brindle-check: " + (dir / "walk/locked").string() + ": Permission denied\n");
        EXPECT_EQ(walked.status, 2);
    }
    fs::permissions(dir / "walk/locked", fs::perms::owner_all);
    fs::remove_all(dir);
}

TEST(CheckText, EachFileIsDecodedOnItsOwnWithBadBytesReportedInPlace) {
    // A UTF-8 byte-order mark says UTF-8: the first tag is found, and GBK bytes after it are reported.
    auto marked = dede::decode_template("\xef\xbb\xbf{dede:list/}\xc4\xe3");
    EXPECT_EQ(marked.encoding, dede::TemplateEncoding::Utf8);
    EXPECT_EQ(check_template(marked),
              (std::vector<Diagnostic>{{1, 13, Severity::Warning, "byte 0xC4 is not UTF-8 text (the file is read as UTF-8)"},
                                       {1, 14, Severity::Warning, "byte 0xE3 is not UTF-8 text (the file is read as UTF-8)"}}));
    // GBK cut short by its last byte is still GBK; a NUL byte is text like any other.
    auto cut = dede::decode_template("<p>\xc4\xe3\xba\xc3{/dede:x}\xc4");
    EXPECT_EQ(cut.encoding, dede::TemplateEncoding::Gbk);
    EXPECT_EQ(check_template(cut),
              (std::vector<Diagnostic>{{1, 6, Severity::Error, "{/dede:x} has no matching {dede:x}"},
                                       {1, 15, Severity::Warning, "byte 0xC4 is not GBK text (the file is read as GBK)"}}));
    auto nul = dede::decode_template(std::string("a\0{/dede:x}", 11));
    EXPECT_TRUE(nul.undecodable.empty());
    EXPECT_EQ(check_template(nul).at(0).column, 3);
    // Past twenty bad bytes the rest are counted in one line.
    auto noise = dede::decode_template(std::string(30, '\xff'));
    auto found = check_template(noise);
    ASSERT_EQ(found.size(), 21u);
    EXPECT_EQ(found.back(), (Diagnostic{1, 21, Severity::Warning, "10 more bytes from here on are not UTF-8 text"}));
}

}  // namespace
}  // namespace brindle::check
