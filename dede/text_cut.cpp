#include "dede/text_cut.h"

#include "common/utf8.h"

namespace brindle::dede {

std::string cut_text(std::string_view text, size_t length) {
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

}  // namespace brindle::dede
