#include "tools/snippets/snippet_formats.h"

#include <cstdio>

#include <QString>
#include <QUuid>

#include "common/json_string.h"
#include "common/try.h"

namespace brindle::snippets {
namespace {

#ifdef _WIN32
constexpr std::string_view kLineEnd = "\r\n";
#else
constexpr std::string_view kLineEnd = "\n";
#endif

// TextMate wants a UUID per snippet; one derived from the prefix keeps it stable across rebuilds.
const QUuid kUuidNamespace("{5b2f3c1e-8a4d-4e7b-9c61-3d0f2a7e9b14}");

Result<void> xml_safe(std::string_view text, std::string_view prefix) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(c));
            return fail("snippet " + std::string(prefix) + " holds the control character " + hex +
                        ", which XML cannot carry");
        }
    return {};
}

// Element text; a CR is written as a reference because XML readers turn a literal one into LF.
std::string xml_text(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '\r': out += "&#13;"; break;
            default: out += c;
        }
    }
    return out;
}

// CDATA, the form Sublime Text's own snippets use; "]]>" and CR step outside it for a moment.
std::string cdata(std::string_view text) {
    std::string out = "<![CDATA[";
    for (size_t k = 0; k < text.size(); ++k) {
        if (text.substr(k).starts_with("]]>")) {
            out += "]]]]><![CDATA[>";
            k += 2;
        } else if (text[k] == '\r') {
            out += "]]>&#13;<![CDATA[";
        } else {
            out += text[k];
        }
    }
    return out + "]]>";
}

std::string vscode_file(const std::vector<Snippet>& snippets) {
    std::string out = "{";
    for (size_t i = 0; i < snippets.size(); ++i) {
        const Snippet& s = snippets[i];
        out += i ? ",\n" : "\n";
        out += "  " + json_string(s.prefix) + ": {\n";
        out += "    \"prefix\": " + json_string(s.prefix) + ",\n";
        out += "    \"description\": " + json_string(s.description) + ",\n";
        out += "    \"body\": [";
        // One array item per line; VS Code joins them with the document's own line ends.
        std::string_view text = s.text;
        for (bool first = true;; first = false) {
            size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            if (line.ends_with('\r') && end != std::string_view::npos) line.remove_suffix(1);
            out += first ? "\n" : ",\n";
            out += "      " + json_string(escape_snippet_text(line, Format::VsCode));
            if (end == std::string_view::npos) break;
            text.remove_prefix(end + 1);
        }
        out += "\n    ]\n  }";
    }
    return out + (snippets.empty() ? "}\n" : "\n}\n");
}

std::string sublime_file(const Snippet& s) {
    return "<snippet>\n"
           "\t<content>" + cdata(escape_snippet_text(s.text, Format::Sublime)) + "</content>\n"
           "\t<tabTrigger>" + xml_text(s.prefix) + "</tabTrigger>\n"
           "\t<description>" + xml_text(s.description) + "</description>\n"
           "</snippet>\n";
}

std::string textmate_file(const Snippet& s) {
    QUuid uuid = QUuid::createUuidV5(kUuidNamespace, QString::fromStdString(s.prefix));
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n"
           "<dict>\n"
           "\t<key>content</key>\n"
           "\t<string>" + xml_text(escape_snippet_text(s.text, Format::TextMate)) + "</string>\n"
           "\t<key>name</key>\n"
           "\t<string>" + xml_text(s.description) + "</string>\n"
           "\t<key>tabTrigger</key>\n"
           "\t<string>" + xml_text(s.prefix) + "</string>\n"
           "\t<key>uuid</key>\n"
           "\t<string>" + uuid.toString(QUuid::WithoutBraces).toUpper().toStdString() + "</string>\n"
           "</dict>\n"
           "</plist>\n";
}

}  // namespace

std::optional<Format> parse_format(std::string_view name) {
    if (name == "vscode") return Format::VsCode;
    if (name == "sublime") return Format::Sublime;
    if (name == "textmate") return Format::TextMate;
    return std::nullopt;
}

std::string platform_text(std::string_view image_text) {
    std::string out;
    for (size_t k = 0; k < image_text.size(); ++k) {
        if (image_text.substr(k).starts_with("\r\n")) {
            out += kLineEnd;
            ++k;
        } else {
            out += image_text[k];
        }
    }
    return out;
}

std::string escape_snippet_text(std::string_view text, Format format) {
    std::string_view special = format == Format::VsCode    ? "$}\\"
                               : format == Format::Sublime ? "$\\"
                                                           : "$\\`";
    std::string out;
    for (char c : text) {
        if (special.find(c) != std::string_view::npos) out += '\\';
        out += c;
    }
    return out;
}

Result<std::vector<SnippetFile>> render_snippets(const std::vector<Snippet>& snippets, Format format) {
    if (format == Format::VsCode) return std::vector<SnippetFile>{{"brindle.code-snippets", vscode_file(snippets)}};
    std::vector<SnippetFile> files;
    for (const Snippet& s : snippets) {
        BRINDLE_CHECK(xml_safe(s.text, s.prefix));
        BRINDLE_CHECK(xml_safe(s.description, s.prefix));
        if (format == Format::Sublime) files.push_back({s.prefix + ".sublime-snippet", sublime_file(s)});
        else files.push_back({s.prefix + ".tmSnippet", textmate_file(s)});
    }
    return files;
}

}  // namespace brindle::snippets
