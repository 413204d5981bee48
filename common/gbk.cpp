#include "common/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace brindle {
namespace {

enum Direction { kDecode, kEncodeGbk, kEncodeGb18030, kDirections };

struct Charsets {
    const char* to;
    const char* from;
};
constexpr Charsets kCharsets[kDirections] = {{"UTF-8", "GB18030"}, {"GBK", "UTF-8"}, {"GB18030", "UTF-8"}};

const iconv_t kNotOpen = reinterpret_cast<iconv_t>(-1);

// Opened once per thread and kept: a converter is not shared between threads, and opening one per
// text cost more than most conversions.
struct Converters {
    iconv_t cd[kDirections] = {kNotOpen, kNotOpen, kNotOpen};
    int open_errno[kDirections] = {};
    ~Converters() {
        for (iconv_t c : cd)
            if (c != kNotOpen) iconv_close(c);
    }
    iconv_t get(Direction d) {
        if (cd[d] == kNotOpen) {
            cd[d] = iconv_open(kCharsets[d].to, kCharsets[d].from);
            open_errno[d] = cd[d] == kNotOpen ? errno : 0;
        }
        return cd[d];
    }
};

Converters& converters() {
    thread_local Converters instance;
    return instance;
}

std::string cannot_open(Direction d, int err) {
    return std::string("cannot open the text converter from ") + kCharsets[d].from + " to " + kCharsets[d].to + ": " +
           std::strerror(err);
}

// Without a converter every text would silently come out empty: stop instead. The start-up check
// (check_text_conversion) reports this before any text is converted.
iconv_t converter_or_die(Direction d) {
    iconv_t cd = converters().get(d);
    if (cd == kNotOpen) {
        std::fprintf(stderr, "brindle: %s\n", cannot_open(d, converters().open_errno[d]).c_str());
        std::abort();
    }
    return cd;
}

// GBK as Windows' code page 936 has one single-byte character that GB18030 lacks: 0x80 is the euro
// sign (GB18030 gives it A2E3). Texts written as GBK carry it, so the decoder takes it.
constexpr unsigned char kCp936Euro = 0x80;
constexpr const char* kEuroUtf8 = "\xE2\x82\xAC";

// Converts all of `in`; on an invalid or unconvertible sequence returns false with `bad_at` set,
// unless `replacement` is given, which then stands for the offending input (one byte skipped).
bool convert(Direction d, std::string_view in, std::string& out, const char* replacement, size_t* bad_at) {
    iconv_t cd = converter_or_die(d);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    out.clear();
    out.reserve(in.size() + in.size() / 2);
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    char buf[16384];
    while (src_left > 0) {
        char* dst = buf;
        size_t dst_left = sizeof buf;
        size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
        out.append(buf, dst - buf);
        if (rc != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        if (!replacement) {
            if (bad_at) *bad_at = in.size() - src_left;
            return false;
        }
        const auto lead = static_cast<unsigned char>(*src);
        out += d == kDecode && lead == kCp936Euro ? kEuroUtf8 : replacement;
        // From UTF-8 the whole character goes (its lead and continuation bytes); from GB18030 one
        // byte, and decoding resumes after it.
        size_t skip = 1;
        if (d != kDecode && lead >= 0xC0)
            while (skip < 4 && skip < src_left && (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80) ++skip;
        src += skip;
        src_left -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return true;
}

}  // namespace

Result<void> check_text_conversion() {
    for (int d = 0; d < kDirections; ++d) {
        auto direction = static_cast<Direction>(d);
        if (converters().get(direction) == kNotOpen)
            return fail(cannot_open(direction, converters().open_errno[direction]));
    }
    return {};
}

std::string gbk_to_utf8(std::string_view gbk) {
    std::string out;
    convert(kDecode, gbk, out, "\xEF\xBF\xBD", nullptr);
    return out;
}

Result<std::string> utf8_to_gbk(std::string_view utf8) {
    std::string out;
    size_t bad_at = 0;
    if (!convert(kEncodeGbk, utf8, out, nullptr, &bad_at))
        return fail("text has a character that GBK cannot hold", "text", bad_at);
    return out;
}

std::string utf8_to_gb18030(std::string_view utf8) {
    std::string out;
    convert(kEncodeGb18030, utf8, out, "?", nullptr);
    return out;
}

}  // namespace brindle
