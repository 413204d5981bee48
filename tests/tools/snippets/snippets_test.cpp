// brindle-snippets: prefixes, escaping, and the written files read back the way each editor reads them.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>
#include <QXmlStreamReader>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

#include "runtime/headless/palette.h"
#include "tools/snippets/snippet_formats.h"
#include "tools/snippets/snippet_prefixes.h"
#include "tools/snippets/snippets_run.h"

namespace brindle::snippets {
namespace {

namespace fs = std::filesystem;

const Bytes& image_bytes() {
    static const Bytes bytes = [] {
        std::ifstream in(BRINDLE_IMAGE, std::ios::binary);
        return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }();
    return bytes;
}

const std::vector<Fragment>& palette() {
    static const std::vector<Fragment> fragments = [] {
        auto read = headless::read_palette(image_bytes());
        if (!read) throw std::runtime_error(read.error().describe());
        return *read;
    }();
    return fragments;
}

// What the editor inserts for escaped snippet text: a backslash before one of `special` stands for
// that character; any other backslash stands for itself.
std::string unescape(std::string_view text, std::string_view special) {
    std::string out;
    for (size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '\\' && k + 1 < text.size() && special.find(text[k + 1]) != std::string_view::npos) ++k;
        out += text[k];
    }
    return out;
}

class TempDir {
public:
    TempDir() : path_(fs::temp_directory_path() / ("brindle-snippets-" + std::to_string(::getpid()))) {
        fs::remove_all(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

int write_snippets(const std::string& format, const fs::path& dir, std::string* err_text = nullptr) {
    std::ostringstream out, err;
    int status = run_snippets({"--format", format, BRINDLE_IMAGE, "--out", dir.string()}, "/nowhere/brindle-snippets",
                              out, err);
    if (err_text) *err_text = err.str();
    return status;
}

std::string read_text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A TextMate property list's dict, key by key, as an XML reader gives it.
std::map<std::string, std::string> read_plist(const std::string& content, std::string* error) {
    QXmlStreamReader xml(QByteArray::fromStdString(content));
    std::map<std::string, std::string> dict;
    std::string key;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QStringLiteral("key")) key = xml.readElementText().toStdString();
        else if (xml.name() == QStringLiteral("string")) dict[key] = xml.readElementText().toStdString();
    }
    *error = xml.hasError() ? xml.errorString().toStdString() : "";
    return dict;
}

TEST(SnippetPrefixes, ShortAsciiUniqueAndStable) {
    std::vector<std::string> prefixes = snippet_prefixes(palette());
    ASSERT_EQ(prefixes.size(), palette().size());
    std::set<std::string> unique(prefixes.begin(), prefixes.end());
    EXPECT_EQ(unique.size(), prefixes.size());
    for (const std::string& p : prefixes) {
        EXPECT_TRUE(std::regex_match(p, std::regex("dede-[a-z0-9]+(-[a-z0-9]+)*"))) << p;
        EXPECT_LE(p.size(), 32u) << p;
    }
    std::map<std::string, std::string> by_control;
    for (size_t i = 0; i < prefixes.size(); ++i) by_control[palette()[i].control] = prefixes[i];
    EXPECT_EQ(by_control["单选框_网站名称"], "dede-global-webname");
    EXPECT_EQ(by_control["单选框52"], "dede-shop-cart");
    EXPECT_EQ(by_control["单选框53"], "dede-shop-buy");
    EXPECT_EQ(by_control["单选框_内容统计3"], "dede-sql-discuz-threads");
}

TEST(SnippetPrefixes, EntriesTheTableDoesNotKnowGetOneFromTheirFirstTag) {
    std::vector<Fragment> fragments = {
        {"新框1", "", "", "", "<b>{dede:field.Title function='x'/}</b>"},
        {"新框2", "", "", "", "{dede:flink row='5'/}"},
        {"单选框2", "", "", "", "anything"},
        {"新框3", "", "", "", "<p>no tag at all</p>"},
        {"新框4", "", "", "", "[field:pubdate/] {dede:field.title/}"},
        {"新框5", "", "", "", "{dede:field.title/}"},
    };
    EXPECT_EQ(snippet_prefixes(fragments),
              (std::vector<std::string>{"dede-field-title", "dede-flink-2", "dede-flink", "dede-snippet",
                                        "dede-field-pubdate", "dede-field-title-2"}));
}

TEST(SnippetEscaping, EachFormatEscapesWhatItsSyntaxGivesAMeaning) {
    const std::string text = "{dede:global.$cfg/} a\\b `sql` ${1}";
    EXPECT_EQ(escape_snippet_text(text, Format::VsCode), "{dede:global.\\$cfg/\\} a\\\\b `sql` \\${1\\}");
    EXPECT_EQ(escape_snippet_text(text, Format::Sublime), "{dede:global.\\$cfg/} a\\\\b `sql` \\${1}");
    EXPECT_EQ(escape_snippet_text(text, Format::TextMate), "{dede:global.\\$cfg/} a\\\\b \\`sql\\` \\${1}");
    EXPECT_EQ(platform_text("a\r\n\r\nb\rc\n"), "a\n\nb\rc\n");
}

TEST(SnippetFormats, VsCodeFileParsesAndEveryBodyIsTheImageText) {
    TempDir dir;
    ASSERT_EQ(write_snippets("vscode", dir.path()), 0);
    std::vector<std::string> prefixes = snippet_prefixes(palette());
    QByteArray bytes = QByteArray::fromStdString(read_text(dir.path() / "brindle.code-snippets"));
    QJsonParseError error;
    QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    QJsonObject all = doc.object();
    ASSERT_EQ(all.size(), 82);
    for (size_t i = 0; i < palette().size(); ++i) {
        QJsonObject s = all.value(QString::fromStdString(prefixes[i])).toObject();
        SCOPED_TRACE(prefixes[i]);
        EXPECT_EQ(s.value("prefix").toString().toStdString(), prefixes[i]);
        EXPECT_EQ(s.value("description").toString().toStdString(), palette()[i].caption);
        QStringList lines;
        for (const QJsonValue& line : s.value("body").toArray()) lines << line.toString();
        EXPECT_EQ(unescape(lines.join("\n").toStdString(), "$}\\"), platform_text(palette()[i].text));
    }
}

TEST(SnippetFormats, SublimeFilesAreWellFormedAndEveryContentIsTheImageText) {
    TempDir dir;
    ASSERT_EQ(write_snippets("sublime", dir.path()), 0);
    std::vector<std::string> prefixes = snippet_prefixes(palette());
    for (size_t i = 0; i < palette().size(); ++i) {
        SCOPED_TRACE(prefixes[i]);
        QXmlStreamReader xml(QByteArray::fromStdString(read_text(dir.path() / (prefixes[i] + ".sublime-snippet"))));
        std::map<std::string, std::string> fields;
        ASSERT_TRUE(xml.readNextStartElement());
        EXPECT_EQ(xml.name().toString(), "snippet");
        while (xml.readNextStartElement())
            fields[xml.name().toString().toStdString()] = xml.readElementText().toStdString();
        ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        EXPECT_EQ(fields["tabTrigger"], prefixes[i]);
        EXPECT_EQ(fields["description"], palette()[i].caption);
        EXPECT_EQ(unescape(fields["content"], "$\\"), platform_text(palette()[i].text));
    }
}

TEST(SnippetFormats, TextMatePlistsAreWellFormedAndEveryContentIsTheImageText) {
    TempDir dir;
    ASSERT_EQ(write_snippets("textmate", dir.path()), 0);
    std::vector<std::string> prefixes = snippet_prefixes(palette());
    std::set<std::string> uuids;
    for (size_t i = 0; i < palette().size(); ++i) {
        SCOPED_TRACE(prefixes[i]);
        std::string error;
        auto dict = read_plist(read_text(dir.path() / (prefixes[i] + ".tmSnippet")), &error);
        ASSERT_EQ(error, "");
        EXPECT_EQ(dict["tabTrigger"], prefixes[i]);
        EXPECT_EQ(dict["name"], palette()[i].caption);
        EXPECT_EQ(unescape(dict["content"], "$\\`"), platform_text(palette()[i].text));
        EXPECT_FALSE(QUuid::fromString(QString::fromStdString(dict["uuid"])).isNull()) << dict["uuid"];
        uuids.insert(dict["uuid"]);
    }
    EXPECT_EQ(uuids.size(), palette().size());
}

TEST(SnippetFormats, XmlCarriesCarriageReturnsAndCdataEnds) {
    auto files = render_snippets({{"dede-x", "x", "a]]>b\rc"}}, Format::Sublime);
    ASSERT_TRUE(files.has_value());
    QXmlStreamReader xml(QByteArray::fromStdString((*files)[0].content));
    xml.readNextStartElement();
    xml.readNextStartElement();
    EXPECT_EQ(xml.readElementText().toStdString(), "a]]>b\rc");

    auto plist = render_snippets({{"dede-x", "x", "a\rb\r\nc"}}, Format::TextMate);
    ASSERT_TRUE(plist.has_value());
    std::string error;
    EXPECT_EQ(read_plist((*plist)[0].content, &error)["content"], "a\rb\r\nc");
    EXPECT_EQ(error, "");
    EXPECT_FALSE(render_snippets({{"dede-x", "x", "a\x01"}}, Format::TextMate).has_value());
}

TEST(SnippetCommandLine, BadPathsAreOneLineAndStatusTwo) {
    std::ostringstream out, err;
    EXPECT_EQ(run_snippets({"/no/such/brindle.img"}, "/nowhere/brindle-snippets", out, err), 2);
    EXPECT_EQ(err.str(), "brindle-snippets: /no/such/brindle.img: No such file or directory\n");

    // Whatever is not a regular file is refused at once, never waited on or read without end.
    TempDir special;
    fs::create_directories(special.path());
    ASSERT_EQ(::mkfifo((special.path() / "fifo").c_str(), 0600), 0);
    for (const std::string& path : {special.path().string(), (special.path() / "fifo").string(), std::string("/dev/zero"),
                                    std::string("/proc/self/mem")}) {
        std::ostringstream o, e;
        EXPECT_EQ(run_snippets({path}, "/nowhere/x", o, e), 2) << path;
        EXPECT_EQ(e.str().find('\n'), e.str().size() - 1) << e.str();
        EXPECT_TRUE(e.str().starts_with("brindle-snippets: " + path + ": ")) << e.str();
    }

    std::ostringstream out2, err2;
    EXPECT_EQ(run_snippets({}, "/nowhere/bin/brindle-snippets", out2, err2), 2);
    EXPECT_EQ(err2.str(), "brindle-snippets: /nowhere/bin/brindle.img: No such file or directory\n");

    TempDir dir;
    fs::create_directories(dir.path());
    std::ofstream(dir.path() / "not-an-image") << "hello";
    std::ostringstream out3, err3;
    EXPECT_EQ(run_snippets({(dir.path() / "not-an-image").string()}, "/nowhere/x", out3, err3), 1);
    EXPECT_EQ(err3.str().find('\n'), err3.str().size() - 1) << err3.str();

    // The output directory is a file: refused, nothing half-written.
    std::string err_text;
    EXPECT_EQ(write_snippets("vscode", dir.path() / "not-an-image", &err_text), 2);
    EXPECT_EQ(err_text, "brindle-snippets: cannot create the directory " + (dir.path() / "not-an-image").string() + "\n");
}

TEST(SnippetCommandLine, LinksPlantedUnderSnippetNamesAreReplacedNotFollowed) {
    TempDir dir;
    fs::create_directories(dir.path() / "out");
    ASSERT_EQ(write_snippets("vscode", dir.path() / "out"), 0);
    std::vector<fs::path> written;
    for (const auto& e : fs::directory_iterator(dir.path() / "out")) written.push_back(e.path());
    ASSERT_FALSE(written.empty());
    const std::string expected = read_text(written[0]);

    std::ofstream(dir.path() / "victim") << "keep me";
    fs::remove(written[0]);
    fs::create_symlink(dir.path() / "victim", written[0]);
    ASSERT_EQ(write_snippets("vscode", dir.path() / "out"), 0);
    EXPECT_EQ(read_text(dir.path() / "victim"), "keep me");
    EXPECT_FALSE(fs::is_symlink(written[0]));
    EXPECT_EQ(read_text(written[0]), expected);
    // No temporary file is left beside the snippets.
    size_t files = 0;
    for (const auto& e : fs::directory_iterator(dir.path() / "out")) files += e.is_regular_file();
    EXPECT_EQ(files, written.size());
}

TEST(SnippetCommandLine, TheImageBesideTheToolComesBeforeTheInstalledOne) {
    TempDir dir;
    fs::create_directories(dir.path() / "bin");
    fs::create_directories(dir.path() / "share" / "brindle");
    fs::copy_file(BRINDLE_IMAGE, dir.path() / "bin" / "brindle.img");
    std::ofstream(dir.path() / "share" / "brindle" / "brindle.img") << "junk";
    const fs::path tool = dir.path() / "bin" / "brindle-snippets";

    std::ostringstream out, err;
    EXPECT_EQ(run_snippets({"--out", (dir.path() / "out").string()}, tool, out, err), 0);
    EXPECT_EQ(err.str(), "");
    EXPECT_TRUE(fs::exists(dir.path() / "out" / "brindle.code-snippets"));

    // Without the one beside, the installed one is read.
    fs::remove(dir.path() / "bin" / "brindle.img");
    std::ostringstream out2, err2;
    EXPECT_EQ(run_snippets({"--out", (dir.path() / "out").string()}, tool, out2, err2), 1);
    EXPECT_EQ(err2.str(), "brindle-snippets: " + (dir.path() / "share/brindle/brindle.img").string() +
                              ": not a readable program image: image_magic at 0x0: not a program image: magic "
                              "0x6B6E756A, expected 0x4A57\n");
}

}  // namespace
}  // namespace brindle::snippets
