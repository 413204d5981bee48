#pragma once
// The site's keyword links written into an article's text (cfg_keyword_replace): every keyword of
// #@__keywords that is on and has an address becomes a link to it, in rank order, longer keywords
// first, each at most cfg_replace_num times (every time when that is 0 or less).
//
// DedeCMS's way is kept, faults included, since the page must be the site's: a keyword is a
// case-insensitive pattern, not text; links already in the text have their text set aside behind a
// hash first, and each new link's text stays behind the hash of its keyword until all are placed, so
// a later keyword can still match an earlier link's address or those hex digits; a keyword that is
// no valid pattern empties the text.
#include <string>
#include <vector>

#include "common/result.h"
#include "dede/site.h"

namespace brindle::dede {

struct KeywordLink {
    std::string keyword, url;
};

// The site's keyword links in the order DedeCMS applies them.
Result<std::vector<KeywordLink>> site_keyword_links(const Site& site);

struct LinkedText {
    std::string text;
    std::string fault;  // why the text came out empty, or ""
};

LinkedText with_keyword_links(std::string text, const std::vector<KeywordLink>& links, long replace_limit);

// The MD5 of some bytes in lower-case hex, as PHP's md5().
std::string md5_hex(std::string_view bytes);

}  // namespace brindle::dede
