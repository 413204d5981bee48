#include "dede/channel_fields.h"

#include <set>

#include "common/utf8.h"
#include "dede/php_regex.h"

namespace brindle::dede {
namespace {

constexpr TagSyntax kFieldsetTags{"<field:", "</field:", '>'};

// PHP's stripslashes: a backslash goes and the byte after it stays ("\0" is a NUL byte).
std::string without_slashes(std::string_view text) {
    std::string out;
    for (size_t k = 0; k < text.size(); ++k) {
        if (text[k] != '\\') {
            out += text[k];
        } else if (k + 1 < text.size()) {
            ++k;
            out += text[k] == '0' ? '\0' : text[k];
        }
    }
    return out;
}

// PHP's htmlspecialchars with both quotes, for UTF-8: text that is not valid UTF-8 comes back empty.
std::string html_escaped(std::string_view text) {
    std::string out;
    for (size_t k = 0; k < text.size();) {
        const size_t n = utf8_sequence_length(text, k);
        if (n == 0) return {};
        switch (text[k]) {
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#039;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out.append(text, k, n);
        }
        k += n;
    }
    return out;
}

// PHP's addslashes: a backslash before quotes, backslashes and NUL (written as "\0").
std::string with_slashes(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\0') {
            out += "\\0";
            continue;
        }
        if (c == '\'' || c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

}  // namespace

ChannelFields read_channel_fields(std::string_view fieldset) {
    ChannelFields out;
    std::set<std::string> seen;
    for (ParsedTag& tag : parse_tags(fieldset, kFieldsetTags).tags) {
        if (!seen.insert(tag.name).second) break;
        ChannelField field{tag.name, std::move(tag.attributes), ""};
        field.item_name =
            field.attributes.get("itemname").empty() ? field.name : std::string(field.attributes.get("itemname"));
        if (field.attributes.get("page") == "split") out.split_field = field.name;
        out.fields.push_back(std::move(field));
    }
    return out;
}

std::string shown_field_value(const ChannelField& field, std::string value) {
    const std::string_view type = field.attributes.get("type");
    if (value.empty() && type != "checkbox") value = field.attributes.get("default");
    if (type != "text") return value;
    static const Result<PhpRegex> kStyleBlock = PhpRegex::compile("/<[\\/]{0,1}style([^>]*)>(.*)<\\/style>/i");
    auto cleaned = kStyleBlock->replace(without_slashes(value), "");
    return cleaned ? with_slashes(html_escaped(*cleaned)) : std::string();
}

}  // namespace brindle::dede
