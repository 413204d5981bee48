#include "common/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace brindle {
namespace {

struct IconvCloser {
    void operator()(iconv_t* cd) const { iconv_close(*cd); delete cd; }
};

// Converts all of `in`; on an invalid or unconvertible sequence returns false with `bad_at` set,
// unless `replacement` is given, which then stands for the offending input (one byte skipped).
bool convert(const char* to, const char* from, std::string_view in, std::string& out,
             const char* replacement, size_t* bad_at) {
    iconv_t raw = iconv_open(to, from);
    if (raw == reinterpret_cast<iconv_t>(-1)) return false;
    std::unique_ptr<iconv_t, IconvCloser> cd(new iconv_t(raw));

    out.clear();
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    char buf[4096];
    while (src_left > 0) {
        char* dst = buf;
        size_t dst_left = sizeof buf;
        size_t rc = iconv(*cd, &src, &src_left, &dst, &dst_left);
        out.append(buf, dst - buf);
        if (rc != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        if (!replacement) {
            if (bad_at) *bad_at = in.size() - src_left;
            return false;
        }
        out += replacement;
        ++src;
        --src_left;
        iconv(*cd, nullptr, nullptr, nullptr, nullptr);
    }
    return true;
}

}  // namespace

std::string gbk_to_utf8(std::string_view gbk) {
    std::string out;
    convert("UTF-8", "GB18030", gbk, out, "\xEF\xBF\xBD", nullptr);
    return out;
}

Result<std::string> utf8_to_gbk(std::string_view utf8) {
    std::string out;
    size_t bad_at = 0;
    if (!convert("GBK", "UTF-8", utf8, out, nullptr, &bad_at))
        return fail("text has a character that GBK cannot hold", "text", bad_at);
    return out;
}

std::string utf8_to_gb18030(std::string_view utf8) {
    std::string out;
    convert("GB18030", "UTF-8", utf8, out, "?", nullptr);
    return out;
}

}  // namespace brindle
