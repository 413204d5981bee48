#pragma once
// The tag libraries, one source file each.
#include "dede/renderer.h"

namespace brindle::dede {

std::string arclist(TagCall& call);
std::string adminname(TagCall& call);
std::string qrcode(TagCall& call);
std::string sql(TagCall& call);
std::string channel(TagCall& call);
std::string type(TagCall& call);
std::string myad(TagCall& call);
std::string mytag(TagCall& call);
std::string flink(TagCall& call);
std::string flinktype(TagCall& call);
std::string hotwords(TagCall& call);
std::string channelartlist(TagCall& call);
std::string tag(TagCall& call);
std::string likearticle(TagCall& call);

// Article rows filled into an item template: up to `line` one after the other, or in a table of `col`
// columns (`tablewidth` per cent wide, 100 when ""), as arclist and likearticle write them.
std::string fill_article_rows(TagCall& call, std::string_view body, const std::vector<Row>& rows, long long line,
                              long long col, std::string_view tablewidth);

// PHP's urlencode of the text in the site's encoding: letters, digits and "-_." kept, a space as '+',
// every other byte as %XX.
std::string url_encoded(std::string_view text, SiteCharset charset);

}  // namespace brindle::dede
