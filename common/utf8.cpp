#include "common/utf8.h"

#include <cstdio>

namespace brindle {

size_t utf8_sequence_length(std::string_view s, size_t at) {
    auto byte = [&](size_t k) { return k < s.size() ? static_cast<unsigned char>(s[k]) : 0u; };
    auto continues = [&](size_t k) { return (byte(k) & 0xC0) == 0x80; };
    unsigned b = byte(at);
    if (at >= s.size()) return 0;
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) return continues(at + 1) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        unsigned b1 = byte(at + 1);
        if ((b == 0xE0 && b1 < 0xA0) || (b == 0xED && b1 > 0x9F)) return 0;
        return continues(at + 1) && continues(at + 2) ? 3 : 0;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        unsigned b1 = byte(at + 1);
        if ((b == 0xF0 && b1 < 0x90) || (b == 0xF4 && b1 > 0x8F)) return 0;
        return continues(at + 1) && continues(at + 2) && continues(at + 3) ? 4 : 0;
    }
    return 0;
}

std::string valid_utf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t p = 0; p < text.size();) {
        size_t n = utf8_sequence_length(text, p);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++p;
        } else {
            out.append(text, p, n);
            p += n;
        }
    }
    return out;
}

std::string terminal_safe(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    char escape[8];
    for (size_t p = 0; p < text.size();) {
        auto b = static_cast<unsigned char>(text[p]);
        size_t n = utf8_sequence_length(text, p);
        if (n == 1 && b >= 0x20 && b != 0x7F) {
            out += static_cast<char>(b);
        } else if (b == '\n') {
            out += "\\n";
        } else if (b == '\r') {
            out += "\\r";
        } else if (b == '\t') {
            out += "\\t";
        } else if (n == 2 && b == 0xC2 && static_cast<unsigned char>(text[p + 1]) < 0xA0) {
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(text[p + 1]));
            out += escape;
        } else if (n > 1) {
            out.append(text, p, n);
        } else {
            std::snprintf(escape, sizeof escape, "\\x%02x", b);
            out += escape;
            n = 1;
        }
        p += n;
    }
    return out;
}

}  // namespace brindle
