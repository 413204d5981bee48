#pragma once
// DedeCMS's cut of a title or summary to a length in bytes (titlelen, infolen, cn_substr): whole
// characters are taken while the text so far is shorter than the length plus the next character's
// size, so the cut overshoots by up to one character. Text that is not valid UTF-8 cuts to nothing,
// as in DedeCMS.
#include <string>
#include <string_view>

namespace brindle::dede {

std::string cut_text(std::string_view text, size_t length);

}  // namespace brindle::dede
