#pragma once
// The encoding of a site's text, judged by its bytes: DedeCMS sites hold UTF-8 or GBK, and a GBK site
// often keeps its GBK bytes in columns labelled latin1, so the column's label cannot be trusted.
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "dede/site_database.h"

namespace brindle::dede {

enum class SiteCharset { utf8, gbk };

// "utf-8" or "gbk", as --charset names them.
std::string_view charset_name(SiteCharset charset);

// Each text that is not plain ASCII votes for UTF-8 when it is valid UTF-8, else for GBK when it is
// valid GBK; the encoding with more votes wins, UTF-8 on a tie (it is the default edition's, and
// plain ASCII reads the same either way). An error when most texts are neither.
Result<SiteCharset> charset_of_texts(const std::vector<std::string>& texts);

// Votes with the category names and the newest article titles: text every site has, typed by its
// editors.
Result<SiteCharset> detect_site_charset(SiteDatabase& site, std::string_view table_prefix);

}  // namespace brindle::dede
