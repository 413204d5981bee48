#include "dede/html_text.h"

#include "dede/php_regex.h"
#include "dede/php_text.h"

namespace brindle::dede {
namespace {

// A step of PHP's preg_replace; a subject PCRE gives up on becomes "", as PHP's null does.
std::string replaced(std::string_view pattern, std::string_view text, std::string_view with) {
    auto regex = PhpRegex::compile(pattern);
    auto out = regex ? regex->replace(text, with) : Result<std::string>(std::unexpected(regex.error()));
    return out ? std::move(*out) : std::string();
}

}  // namespace

std::string html_to_text(std::string_view html) {
    const std::string kept = replaced("/<sty(.*)\\/style>|<scr(.*)\\/script>|<!--(.*)-->/isU", html, "");
    std::string text;
    bool in_tag = false;
    for (char c : kept) {
        if (in_tag) {
            in_tag = c != '>';
        } else if (c == '<') {
            in_tag = true;
            text += ' ';
        } else if (static_cast<unsigned char>(c) > 31) {
            text += c;
        }
    }
    text = replace_all(text, "\u3000", " ");
    return replaced("/[ ]+/s", replaced("/&([^;&]*)(;|&)/", text, ""), " ");
}

}  // namespace brindle::dede
