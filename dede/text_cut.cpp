#include "dede/text_cut.h"

#include "common/gbk.h"
#include "common/utf8.h"

namespace brindle::dede {

namespace {

// A byte above 0x80 starts a two-byte character (GB18030's four-byte forms count as two of them);
// a character is kept when it ends within the length. A length of 0 keeps everything.
std::string cut_gbk(std::string_view gbk, size_t length) {
    if (length == 0) return std::string(gbk);
    size_t end = 0;
    for (size_t p = 0; p < gbk.size() && p < length;) {
        const size_t size = static_cast<unsigned char>(gbk[p]) > 0x80 ? std::min<size_t>(2, gbk.size() - p) : 1;
        if (p + size > length) break;
        p += size;
        end = p;
    }
    return std::string(gbk.substr(0, end));
}

std::string cut_utf8(std::string_view text, size_t length) {
    std::string out;
    for (size_t p = 0; p < text.size(); p += utf8_sequence_length(text, p))
        if (utf8_sequence_length(text, p) == 0) return {};
    for (size_t p = 0; p < text.size();) {
        size_t n = utf8_sequence_length(text, p);
        if (out.size() >= length + n) break;
        out.append(text, p, n);
        p += n;
    }
    return out;
}

}  // namespace

std::string cut_text(std::string_view text, size_t length, SiteCharset charset) {
    if (charset == SiteCharset::utf8) return cut_utf8(text, length);
    return gbk_to_utf8(cut_gbk(utf8_to_gb18030(text), length));
}

}  // namespace brindle::dede
