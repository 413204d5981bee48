#include "dede/site_charset.h"

#include <algorithm>

#include "common/gbk.h"
#include "common/try.h"
#include "common/utf8.h"

namespace brindle::dede {
namespace {

bool plain_ascii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool valid_utf8(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        size_t length = utf8_sequence_length(text, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

// GB18030 decodes every GBK pair (user-defined areas included); what it cannot decode becomes U+FFFD.
bool valid_gbk(std::string_view text) { return gbk_to_utf8(text).find("\xEF\xBF\xBD") == std::string::npos; }

}  // namespace

std::string_view charset_name(SiteCharset charset) { return charset == SiteCharset::gbk ? "gbk" : "utf-8"; }

Result<SiteCharset> charset_of_texts(const std::vector<std::string>& texts) {
    size_t utf8 = 0, gbk = 0, neither = 0;
    for (const std::string& text : texts) {
        if (plain_ascii(text)) continue;
        if (valid_utf8(text))
            ++utf8;
        else if (valid_gbk(text))
            ++gbk;
        else
            ++neither;
    }
    if (neither > utf8 + gbk)
        return fail("the site's text is neither UTF-8 nor GBK (" + std::to_string(neither) + " of " +
                    std::to_string(utf8 + gbk + neither) + " texts)");
    return gbk > utf8 ? SiteCharset::gbk : SiteCharset::utf8;
}

Result<SiteCharset> detect_site_charset(SiteDatabase& site, std::string_view table_prefix) {
    const std::string prefix(table_prefix);
    std::vector<std::string> texts;
    for (const std::string& sql : {"SELECT typename FROM " + prefix + "arctype",
                                   "SELECT title FROM " + prefix + "archives ORDER BY id DESC LIMIT 500"}) {
        BRINDLE_TRY(QueryResult result, site.select(sql));
        for (auto& row : result.rows)
            if (row[0]) texts.push_back(std::move(*row[0]));
    }
    return charset_of_texts(texts);
}

}  // namespace brindle::dede
