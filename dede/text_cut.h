#pragma once
// DedeCMS's cut of a title or summary to a length in bytes of the site's encoding (titlelen,
// infolen, cn_substr). The UTF-8 edition takes whole characters while the text so far is shorter
// than the length plus the next character's size, so it overshoots by up to one character; text that
// is not valid UTF-8 cuts to nothing there. The GBK edition takes whole two-byte characters that
// end within the length. Text comes and goes in UTF-8 either way.
#include <string>
#include <string_view>

#include "dede/site_charset.h"

namespace brindle::dede {

std::string cut_text(std::string_view text, size_t length, SiteCharset charset);

}  // namespace brindle::dede
