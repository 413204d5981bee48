#include "dede/keyword_links.h"

#include <openssl/evp.h>

#include <algorithm>

#include "common/try.h"
#include "dede/php_regex.h"
#include "dede/php_text.h"

namespace brindle::dede {
namespace {

// What DedeCMS adds to a link's own text before hashing it into a placeholder.
constexpr std::string_view kLinkSalt = "ITBIGOIBGUALKVNOA6VITK31";

// Keyed values in first-seen order; a later value for a key replaces the earlier one in its place,
// as a PHP array does.
class OrderedPairs {
public:
    void set(const std::string& key, std::string value) {
        for (auto& [k, v] : items_)
            if (k == key) {
                v = std::move(value);
                return;
            }
        items_.emplace_back(key, std::move(value));
    }
    const std::vector<std::pair<std::string, std::string>>& items() const { return items_; }

private:
    std::vector<std::pair<std::string, std::string>> items_;
};

// PHP's str_ireplace for one search text: ASCII letters in either case.
std::string replace_all_any_case(const std::string& text, std::string_view from, std::string_view to) {
    if (from.empty()) return text;
    const std::string lower_text = ascii_lower(text), lower_from = ascii_lower(from);
    std::string out;
    size_t copied = 0;
    for (size_t at = lower_text.find(lower_from); at != std::string::npos;
         at = lower_text.find(lower_from, at + from.size())) {
        out.append(text, copied, at - copied);
        out += to;
        copied = at + from.size();
    }
    return out + text.substr(copied);
}

}  // namespace

std::string md5_hex(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_md5(), nullptr);
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (unsigned int i = 0; i < size; ++i) out += {kDigits[digest[i] >> 4], kDigits[digest[i] & 0xF]};
    return out;
}

Result<std::vector<KeywordLink>> site_keyword_links(const Site& site) {
    BRINDLE_TRY(auto result, site.database().select(site.sql(
                                 "SELECT `keyword`, `rpurl` FROM `#@__keywords` WHERE `rpurl` <> '' AND `sta` = 1 "
                                 "ORDER BY `rank` DESC, CHAR_LENGTH(`keyword`) DESC")));
    std::vector<KeywordLink> links;
    for (const auto& row : result.rows) links.push_back({row[0].value_or(""), row[1].value_or("")});
    return links;
}

LinkedText with_keyword_links(std::string text, const std::vector<KeywordLink>& links, long replace_limit) {
    static const Result<PhpRegex> kLink = PhpRegex::compile("#<a.*>(.*)<\\/a>#isU");
    OrderedPairs set_aside;  // placeholder -> the link text it stands for
    if (auto found = kLink->find_all(text)) {
        for (const auto& spans : *found) {
            const std::string whole = text.substr(spans[0].begin, spans[0].end - spans[0].begin);
            const std::string inner = spans[1].set ? text.substr(spans[1].begin, spans[1].end - spans[1].begin) : "";
            const std::string placeholder = md5_hex(whole + std::string(kLinkSalt));
            set_aside.set(placeholder, inner);
            text = replace_all(text, whole, replace_all(whole, inner, placeholder));
        }
    }

    OrderedPairs keyword_links;
    for (const KeywordLink& link : links) {
        const std::string keyword = php_trim(link.keyword);
        keyword_links.set(keyword,
                          "<a href='" + php_trim(link.url) + "' target='_blank'><u>" + md5_hex(keyword) + "</u></a>");
    }
    LinkedText out;
    for (const auto& [keyword, anchor] : keyword_links.items()) {
        if (!out.fault.empty()) break;
        if (replace_limit <= 0) {
            text = replace_all_any_case(text, keyword, anchor);
            continue;
        }
        auto pattern = PhpRegex::compile("#" + keyword + "#i");
        auto replaced = pattern ? pattern->replace(text, anchor, replace_limit)
                                : Result<std::string>(std::unexpected(pattern.error()));
        if (replaced)
            text = std::move(*replaced);
        else
            out.fault = "the keyword '" + keyword + "' is not a valid pattern (" + replaced.error().message + ")";
    }
    if (!out.fault.empty()) return out;  // PHP's preg_replace gave null: nothing is left of the text
    for (const auto& [keyword, anchor] : keyword_links.items()) text = replace_all(text, md5_hex(keyword), keyword);
    for (const auto& [placeholder, inner] : set_aside.items()) text = replace_all(text, placeholder, inner);
    out.text = std::move(text);
    return out;
}

}  // namespace brindle::dede
