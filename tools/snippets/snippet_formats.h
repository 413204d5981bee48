#pragma once
// Editor snippet files: VS Code's .code-snippets JSON, Sublime Text's .sublime-snippet XML and
// TextMate's .tmSnippet property list. A snippet's text is escaped so that it inserts itself and
// nothing else: no tab stop, variable or (TextMate) shell command is ever opened by a fragment.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace brindle::snippets {

enum class Format { VsCode, Sublime, TextMate };

// "vscode", "sublime" or "textmate".
std::optional<Format> parse_format(std::string_view name);

struct Snippet {
    std::string prefix;       // ASCII trigger
    std::string description;  // UTF-8
    std::string text;         // UTF-8, the platform's line ends, unescaped
};

// The image's CR LF line breaks as this platform writes them.
std::string platform_text(std::string_view image_text);

// A backslash before each character the format's snippet syntax gives a meaning: $ } \ for VS Code,
// $ \ for Sublime Text (a } means something there only inside a field, and these texts open none),
// $ \ ` for TextMate (backticks run shell commands).
std::string escape_snippet_text(std::string_view text, Format format);

struct SnippetFile {
    std::string name;     // file name, no directory
    std::string content;  // UTF-8
};

// One .code-snippets file for VS Code; one file per snippet for Sublime Text and TextMate. Fails on
// a character that XML cannot carry (a control character other than tab, LF and CR).
Result<std::vector<SnippetFile>> render_snippets(const std::vector<Snippet>& snippets, Format format);

}  // namespace brindle::snippets
