#include "dede/php_regex.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include "common/try.h"
#include "common/utf8.h"

namespace brindle::dede {
namespace {

// PHP's pcre.backtrack_limit and pcre.recursion_limit: past them PHP gives up on the subject, and a
// hostile pattern from site data cannot hold the render.
constexpr uint32_t kMatchLimit = 1000000;
constexpr uint32_t kDepthLimit = 100000;

std::string pcre_message(int code) {
    PCRE2_UCHAR text[256];
    pcre2_get_error_message(code, text, sizeof text);
    return reinterpret_cast<const char*>(text);
}

bool is_ascii_alnum(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

struct PhpRegex::Code {
    pcre2_code* code = nullptr;
    pcre2_match_context* context = nullptr;
    bool utf = false;
    ~Code() {
        pcre2_match_context_free(context);
        pcre2_code_free(code);
    }
};

Result<PhpRegex> PhpRegex::compile(std::string_view pattern) {
    size_t at = 0;
    while (at < pattern.size() && std::string_view(" \t\n\r\v\f").find(pattern[at]) != std::string_view::npos) ++at;
    if (at == pattern.size()) return fail("empty regular expression");
    const char open = pattern[at];
    if (is_ascii_alnum(open) || open == '\\' || open == '\0')
        return fail("delimiter must not be alphanumeric, backslash, or NUL");
    const std::string_view pairs = "([{<)]}>";
    const size_t pair = pairs.find(open);
    const char close = pair != std::string_view::npos && pair < 4 ? pairs[pair + 4] : open;
    size_t end = at + 1;
    for (int depth = 1; end < pattern.size(); ++end) {
        if (pattern[end] == '\\' && end + 1 < pattern.size())
            ++end;
        else if (pattern[end] == close && --depth <= 0)
            break;
        else if (pattern[end] == open && close != open)
            ++depth;
    }
    if (end >= pattern.size()) return fail(std::string("no ending delimiter '") + close + "' found");

    uint32_t options = 0;
    bool utf = false;
    for (char flag : pattern.substr(end + 1)) {
        switch (flag) {
            case 'i': options |= PCRE2_CASELESS; break;
            case 'm': options |= PCRE2_MULTILINE; break;
            case 'n': options |= PCRE2_NO_AUTO_CAPTURE; break;
            case 's': options |= PCRE2_DOTALL; break;
            case 'x': options |= PCRE2_EXTENDED; break;
            case 'A': options |= PCRE2_ANCHORED; break;
            case 'D': options |= PCRE2_DOLLAR_ENDONLY; break;
            case 'U': options |= PCRE2_UNGREEDY; break;
            case 'J': options |= PCRE2_DUPNAMES; break;
            case 'u': options |= PCRE2_UTF | PCRE2_UCP, utf = true; break;
            case 'S':
            case 'X':
            case ' ':
            case '\n':
            case '\r': break;
            case '\0': return fail("NUL is not a valid modifier");
            default: return fail(std::string("unknown modifier '") + flag + "'");
        }
    }
    const std::string_view body = pattern.substr(at + 1, end - at - 1);
    int error = 0;
    PCRE2_SIZE error_at = 0;
    auto code = std::make_shared<Code>();
    code->utf = utf;
    code->code =
        pcre2_compile(reinterpret_cast<PCRE2_SPTR>(body.data()), body.size(), options, &error, &error_at, nullptr);
    if (!code->code)
        return fail("compilation failed: " + pcre_message(error) + " at offset " + std::to_string(error_at));
    code->context = pcre2_match_context_create(nullptr);
    if (!code->context) return fail("out of memory");
    pcre2_set_match_limit(code->context, kMatchLimit);
    pcre2_set_depth_limit(code->context, kDepthLimit);
    return PhpRegex(std::move(code));
}

template <class Found>
Result<void> PhpRegex::each_match(std::string_view subject, long limit, Found&& found) const {
    pcre2_match_data* data = pcre2_match_data_create_from_pattern(code_->code, nullptr);
    if (!data) return fail("out of memory");
    const auto* text = reinterpret_cast<PCRE2_SPTR>(subject.data());
    size_t from = 0;
    uint32_t retry = 0;  // after an empty match: the same place again, but not empty
    Result<void> outcome{};
    while (limit != 0) {
        int count = pcre2_match(code_->code, text, subject.size(), from, retry, data, code_->context);
        if (count == PCRE2_ERROR_NOMATCH) {
            if (retry == 0 || from >= subject.size()) break;
            size_t step = code_->utf ? utf8_sequence_length(subject, from) : 1;
            from += step == 0 ? 1 : step;
            retry = 0;
            continue;
        }
        if (count < 0) {
            outcome = fail("matching failed: " + pcre_message(count));
            break;
        }
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
        std::vector<Span> spans(static_cast<size_t>(count));
        for (size_t g = 0; g < spans.size(); ++g)
            if (ovector[2 * g] != PCRE2_UNSET) spans[g] = {ovector[2 * g], ovector[2 * g + 1], true};
        found(std::move(spans));
        if (limit > 0) --limit;
        retry = ovector[0] == ovector[1] ? PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED : 0;
        from = ovector[1];
    }
    pcre2_match_data_free(data);
    return outcome;
}

Result<std::vector<std::vector<PhpRegex::Span>>> PhpRegex::find_all(std::string_view subject) const {
    std::vector<std::vector<Span>> out;
    BRINDLE_CHECK(each_match(subject, -1, [&](std::vector<Span> spans) { out.push_back(std::move(spans)); }));
    return out;
}

Result<std::string> PhpRegex::replace(std::string_view subject, std::string_view replacement, long limit) const {
    std::string out;
    size_t copied = 0;
    auto substitute = [&](std::vector<Span> spans) {
        out.append(subject, copied, spans[0].begin - copied);
        char previous = 0;
        for (size_t k = 0; k < replacement.size();) {
            const char c = replacement[k];
            if ((c == '\\' || c == '$') && previous == '\\') {
                out.back() = c;  // "\\" and "\$" stand for the character itself
                previous = 0;
                ++k;
                continue;
            }
            if (c == '\\' || c == '$') {
                // \N, $N or ${N}, N of one or two digits: the group's text, "" when it took no part.
                size_t p = k + 1;
                const bool braced = c == '$' && p < replacement.size() && replacement[p] == '{';
                if (braced) ++p;
                if (p < replacement.size() && replacement[p] >= '0' && replacement[p] <= '9') {
                    size_t group = static_cast<size_t>(replacement[p++] - '0');
                    if (p < replacement.size() && replacement[p] >= '0' && replacement[p] <= '9')
                        group = group * 10 + static_cast<size_t>(replacement[p++] - '0');
                    if (!braced || (p < replacement.size() && replacement[p] == '}')) {
                        if (braced) ++p;
                        if (group < spans.size() && spans[group].set)
                            out.append(subject, spans[group].begin, spans[group].end - spans[group].begin);
                        k = p;
                        previous = 0;
                        continue;
                    }
                }
            }
            out += c;
            previous = c;
            ++k;
        }
        copied = spans[0].end;
    };
    BRINDLE_CHECK(each_match(subject, limit, substitute));
    out.append(subject, copied);
    return out;
}

}  // namespace brindle::dede
