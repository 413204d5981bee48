#include "dede/template_decode.h"

#include "common/gbk.h"
#include "common/utf8.h"

namespace brindle::dede {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the valid GBK (GB18030) sequence at `at`, or 0.
size_t gbk_sequence_length(std::string_view s, size_t at) {
    auto byte = [&](size_t k) { return k < s.size() ? static_cast<unsigned char>(s[k]) : 0x100u; };
    unsigned b = byte(at);
    if (b < 0x80) return 1;
    if (b < 0x81 || b > 0xFE) return 0;
    unsigned b1 = byte(at + 1);
    if ((b1 >= 0x40 && b1 <= 0x7E) || (b1 >= 0x80 && b1 <= 0xFE)) return 2;
    if (b1 >= 0x30 && b1 <= 0x39) {
        unsigned b2 = byte(at + 2), b3 = byte(at + 3);
        if (b2 >= 0x81 && b2 <= 0xFE && b3 >= 0x30 && b3 <= 0x39) return 4;
    }
    return 0;
}

using SequenceLength = size_t (*)(std::string_view, size_t);

size_t count_undecodable(std::string_view s, SequenceLength sequence) {
    size_t bad = 0;
    for (size_t p = 0; p < s.size();) {
        size_t n = sequence(s, p);
        if (n == 0) {
            ++bad;
            n = 1;
        }
        p += n;
    }
    return bad;
}

// Decodes the valid runs with `convert` and puts U+FFFD for each byte between them.
template <class Convert>
DecodedTemplate decode(std::string_view s, TemplateEncoding encoding, SequenceLength sequence, Convert convert) {
    DecodedTemplate out;
    out.encoding = encoding;
    out.text.reserve(s.size());
    size_t run = 0;
    for (size_t p = 0; p < s.size();) {
        size_t n = sequence(s, p);
        if (n != 0) {
            p += n;
            continue;
        }
        out.text += convert(s.substr(run, p - run));
        out.undecodable.push_back({out.text.size(), static_cast<uint8_t>(s[p])});
        out.text += kReplacement;
        run = ++p;
    }
    out.text += convert(s.substr(run));
    return out;
}

}  // namespace

DecodedTemplate decode_template(std::string_view bytes) {
    auto as_utf8 = [](std::string_view run) { return std::string(run); };
    auto as_gbk = [](std::string_view run) { return gbk_to_utf8(run); };
    if (bytes.starts_with(kUtf8Mark))
        return decode(bytes.substr(kUtf8Mark.size()), TemplateEncoding::Utf8, utf8_sequence_length, as_utf8);
    if (count_undecodable(bytes, gbk_sequence_length) < count_undecodable(bytes, utf8_sequence_length))
        return decode(bytes, TemplateEncoding::Gbk, gbk_sequence_length, as_gbk);
    return decode(bytes, TemplateEncoding::Utf8, utf8_sequence_length, as_utf8);
}

std::string_view encoding_name(TemplateEncoding encoding) {
    return encoding == TemplateEncoding::Gbk ? "GBK" : "UTF-8";
}

}  // namespace brindle::dede
