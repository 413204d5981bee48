#include "tools/check/template_check.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <optional>

#include "common/gbk.h"
#include "tools/check/dede_tags.h"

namespace brindle::check {
namespace {

constexpr std::string_view kOpen = "{dede:";
constexpr std::string_view kClose = "{/dede:";
constexpr std::string_view kField = "[field:";
constexpr std::string_view kFieldClose = "[/field:";

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

size_t edit_distance(std::string_view a, std::string_view b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The closest candidate within two edits (and closer than the name's own length), first one on ties.
template <class Range>
std::optional<std::string> nearest(std::string_view name, const Range& candidates) {
    std::optional<std::string> best;
    size_t best_distance = 3;
    for (std::string_view candidate : candidates) {
        size_t d = edit_distance(name, candidate);
        if (d < best_distance && d < name.size()) {
            best_distance = d;
            best = std::string(candidate);
        }
    }
    return best;
}

std::vector<std::string_view> words(std::string_view list) {
    std::vector<std::string_view> out;
    while (!list.empty()) {
        size_t end = list.find(' ');
        out.push_back(list.substr(0, end));
        if (end == std::string_view::npos) break;
        list.remove_prefix(end + 1);
    }
    return out;
}

struct Attribute {
    std::string name;  // lower case
    size_t at = 0;     // offset of the name in the text
};

struct OpenTag {
    std::string name;  // lower case, dotted part included
    size_t at = 0;
    bool lists = false;
    bool bodyless = false;  // a known tag that takes no item template
};

class Checker {
public:
    Checker(std::string_view text, const CheckOptions& options) : text_(text), options_(options) {
        line_starts_.push_back(0);
        for (size_t i = 0; i < text.size(); ++i)
            if (text[i] == '\n') line_starts_.push_back(i + 1);
    }

    std::vector<Diagnostic> run() {
        size_t i = 0;
        while (i < text_.size()) {
            std::string_view rest = text_.substr(i);
            if (rest.starts_with(kOpen)) i = opening(i);
            else if (rest.starts_with(kClose)) i = closing(i);
            else if (rest.starts_with(kField)) i = field(i);
            else if (rest.starts_with(kFieldClose)) i = stray_field_close(i);
            else ++i;
        }
        for (const OpenTag& open : stack_)
            structure(open.at, "{dede:" + open.name + "} has no matching {/dede:" + open.name + "}" +
                                   (open.bodyless ? "; a tag without a body ends in /}" : ""));
        std::stable_sort(out_.begin(), out_.end(), [](const Diagnostic& a, const Diagnostic& b) {
            return a.line != b.line ? a.line < b.line : a.column < b.column;
        });
        return std::move(out_);
    }

private:
    std::pair<int, int> position(size_t offset) const {
        auto it = std::upper_bound(line_starts_.begin(), line_starts_.end(), offset);
        size_t start = *(it - 1);
        int column = 1;
        for (size_t k = start; k < offset; ++k)
            if ((static_cast<unsigned char>(text_[k]) & 0xC0) != 0x80) ++column;
        return {static_cast<int>(it - line_starts_.begin()), column};
    }
    std::string where(size_t offset) const {
        auto [line, column] = position(offset);
        return std::to_string(line) + ":" + std::to_string(column);
    }

    void report(size_t offset, Severity severity, std::string message) {
        auto [line, column] = position(offset);
        out_.push_back({line, column, severity, std::move(message)});
    }
    // Pairing, nesting and syntax: not judged on a fragment.
    void structure(size_t offset, std::string message) {
        if (!options_.names_only) report(offset, Severity::Error, std::move(message));
    }

    // A tag's name runs to a blank, a slash or the closing bracket.
    size_t name_end(size_t from, char bracket) const {
        size_t k = from;
        while (k < text_.size() && !is_blank(text_[k]) && text_[k] != '/' && text_[k] != bracket) ++k;
        return k;
    }

    // The closing bracket of a tag that starts at `at`; DedeCMS ends a tag at its first one. A new tag
    // before it, or (for [field:]) the end of the line, means it was never closed.
    std::optional<size_t> tag_end(size_t from, char bracket) const {
        for (size_t k = from; k < text_.size(); ++k) {
            char c = text_[k];
            if (c == bracket) return k;
            if (bracket == ']' && (c == '\n' || c == '[')) return std::nullopt;
            if (bracket == '}' && c == '{') {
                std::string_view rest = text_.substr(k);
                if (rest.starts_with(kOpen) || rest.starts_with(kClose)) return std::nullopt;
            }
        }
        return std::nullopt;
    }

    // Splits `name="value" name=value ...` between `from` and `to`, reporting syntax faults.
    std::vector<Attribute> attributes(size_t from, size_t to) {
        std::vector<Attribute> found;
        std::map<std::string, size_t> first;
        size_t k = from;
        auto skip_blanks = [&] { while (k < to && is_blank(text_[k])) ++k; };
        // Past a value at k. A quote that is never closed, or closed right against the next word (as
        // in row='10 titlelen='30'), leaves the rest of the tag unreadable: skip it.
        auto value = [&](const std::string& owner) {
            char quote = text_[k];
            if (quote == '\'' || quote == '"') {
                size_t end = text_.find(quote, k + 1);
                if (end == std::string_view::npos || end >= to || (end + 1 < to && !is_blank(text_[end + 1]))) {
                    structure(k, owner.empty() ? "unbalanced quote in a value"
                                               : "unbalanced quote in the value of attribute '" + owner + "'");
                    k = to;
                    return;
                }
                k = end + 1;
            } else {
                while (k < to && !is_blank(text_[k])) ++k;
            }
        };
        while (true) {
            skip_blanks();
            if (k >= to) break;
            char c = text_[k];
            if (c == '=' || c == '\'' || c == '"') {
                structure(k, "value without an attribute name");
                if (c == '=') ++k;
                skip_blanks();
                if (k < to) value({});
                continue;
            }
            size_t name_at = k;
            while (k < to && !is_blank(text_[k]) && text_[k] != '=' && text_[k] != '\'' && text_[k] != '"') ++k;
            std::string name = lower(text_.substr(name_at, k - name_at));
            skip_blanks();
            if (k < to && text_[k] == '=') {
                ++k;
                skip_blanks();
                if (k >= to) structure(name_at, "attribute '" + name + "' has no value");
                else value(name);
            } else {
                structure(name_at, "attribute '" + name + "' has no value");
            }
            if (auto seen = first.find(name); seen != first.end())
                structure(name_at, "attribute '" + name + "' appears twice (first at " + where(seen->second) + ")");
            else
                first.emplace(name, name_at);
            found.push_back({std::move(name), name_at});
        }
        return found;
    }

    // The text between a tag's name and its closing bracket, without the slash of the one-line form.
    struct Inside {
        size_t from = 0, to = 0;
        bool one_line = false;
    };
    Inside inside(size_t from, size_t bracket) const {
        size_t to = bracket;
        while (to > from && is_blank(text_[to - 1])) --to;
        bool one_line = to > from && text_[to - 1] == '/';
        return {from, one_line ? to - 1 : bracket, one_line};
    }

    size_t opening(size_t at) {
        size_t name_from = at + kOpen.size();
        size_t name_to = name_end(name_from, '}');
        std::string written(text_.substr(name_from, name_to - name_from));
        if (written.empty()) {
            structure(at, "{dede: has no tag name");
            return name_from;
        }
        auto bracket = tag_end(name_to, '}');
        if (!bracket) {
            structure(at, "{dede:" + written + " is not closed with }");
            return name_to;
        }
        Inside in = inside(name_to, *bracket);
        std::vector<Attribute> attrs = attributes(in.from, in.to);

        std::string name = lower(written);
        std::string base = name.substr(0, name.find('.'));
        const DedeTag* tag = find_dede_tag(base);
        if (!tag) {
            std::vector<std::string_view> names;
            for (const DedeTag& t : dede_tags()) names.push_back(t.name);
            auto guess = nearest(base, names);
            report(at, Severity::Warning,
                   "unknown tag {dede:" + base + "}" + (guess ? "; did you mean {dede:" + *guess + "}?" : ""));
        } else {
            std::vector<std::string_view> known = words(tag->attributes);
            known.push_back("function");
            known.push_back("runphp");
            for (const Attribute& a : attrs) {
                if (takes_attribute(*tag, a.name)) continue;
                auto guess = nearest(a.name, known);
                report(a.at, Severity::Warning,
                       "{dede:" + base + "} takes no attribute '" + a.name + "'" +
                           (guess ? "; did you mean '" + *guess + "'?" : ""));
            }
        }
        // An unknown tag may well hold an item template: no second complaint about its fields.
        if (!in.one_line) stack_.push_back({name, at, tag ? tag->lists : true, tag && !tag->lists});
        return *bracket + 1;
    }

    size_t closing(size_t at) {
        size_t name_from = at + kClose.size();
        auto bracket = tag_end(name_from, '}');
        std::string written(text_.substr(name_from, (bracket ? *bracket : name_end(name_from, '}')) - name_from));
        if (!bracket) {
            structure(at, "{/dede:" + written + " is not closed with }");
            return name_from;
        }
        std::string name = lower(written);
        auto match = std::find_if(stack_.rbegin(), stack_.rend(), [&](const OpenTag& t) { return t.name == name; });
        if (match == stack_.rend()) {
            structure(at, "{/dede:" + written + "} has no matching {dede:" + written + "}");
        } else {
            if (match != stack_.rbegin()) {
                const OpenTag& inner = stack_.back();
                structure(at, "{/dede:" + written + "} closes {dede:" + written + "} while {dede:" + inner.name +
                                  "} opened at " + where(inner.at) + " is still open");
            }
            stack_.erase(std::next(match).base());
        }
        return *bracket + 1;
    }

    size_t field(size_t at) {
        size_t name_from = at + kField.size();
        size_t name_to = name_end(name_from, ']');
        std::string written(text_.substr(name_from, name_to - name_from));
        auto bracket = tag_end(name_to, ']');
        if (!bracket) {
            structure(at, "[field:" + written + " is not closed with ]");
            return name_to;
        }
        Inside in = inside(name_to, *bracket);
        std::vector<Attribute> attrs = attributes(in.from, in.to);
        for (const Attribute& a : attrs) {
            if (is_field_attribute(a.name)) continue;
            auto guess = nearest(a.name, std::array<std::string_view, 3>{"function", "runphp", "name"});
            report(a.at, Severity::Warning,
                   "[field:" + written + "] takes no attribute '" + a.name + "'" +
                       (guess ? "; did you mean '" + *guess + "'?" : ""));
        }
        bool in_list = std::any_of(stack_.begin(), stack_.end(), [](const OpenTag& t) { return t.lists; });
        if (!in_list) structure(at, "[field:" + written + "] is outside any list tag");
        if (in.one_line) return *bracket + 1;
        // [field:NAME runphp='yes'] PHP code [/field:NAME]: the code is not template text.
        std::string close = std::string(kFieldClose) + written + "]";
        size_t end = text_.find(close, *bracket + 1);
        if (end == std::string_view::npos) {
            structure(at, "[field:" + written + "] has no matching " + close);
            return *bracket + 1;
        }
        return end + close.size();
    }

    size_t stray_field_close(size_t at) {
        size_t name_from = at + kFieldClose.size();
        size_t name_to = name_end(name_from, ']');
        std::string written(text_.substr(name_from, name_to - name_from));
        structure(at, "[/field:" + written + "] has no matching [field:" + written + "]");
        return name_to;
    }

    std::string_view text_;
    CheckOptions options_;
    std::vector<size_t> line_starts_;
    std::vector<OpenTag> stack_;
    std::vector<Diagnostic> out_;
};

// Length of the valid UTF-8 sequence at p, or 0.
size_t utf8_sequence(std::string_view s, size_t p) {
    auto byte = [&](size_t k) { return k < s.size() ? static_cast<unsigned char>(s[k]) : 0u; };
    unsigned b = byte(p);
    auto cont = [&](size_t k) { return (byte(k) & 0xC0) == 0x80; };
    if (b == 0) return 0;
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) return cont(p + 1) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        unsigned b1 = byte(p + 1);
        if ((b == 0xE0 && b1 < 0xA0) || (b == 0xED && b1 > 0x9F)) return 0;
        return cont(p + 1) && cont(p + 2) ? 3 : 0;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        unsigned b1 = byte(p + 1);
        if ((b == 0xF0 && b1 < 0x90) || (b == 0xF4 && b1 > 0x8F)) return 0;
        return cont(p + 1) && cont(p + 2) && cont(p + 3) ? 4 : 0;
    }
    return 0;
}

// Length of the valid GBK/GB18030 sequence at p, or 0.
size_t gbk_sequence(std::string_view s, size_t p) {
    auto byte = [&](size_t k) { return k < s.size() ? static_cast<unsigned char>(s[k]) : 0x100u; };
    unsigned b = byte(p);
    if (b == 0) return 0;
    if (b < 0x80) return 1;
    if (b < 0x81 || b > 0xFE) return 0;
    unsigned b1 = byte(p + 1);
    if ((b1 >= 0x40 && b1 <= 0x7E) || (b1 >= 0x80 && b1 <= 0xFE)) return 2;
    if (b1 >= 0x30 && b1 <= 0x39) {
        unsigned b2 = byte(p + 2), b3 = byte(p + 3);
        if (b2 >= 0x81 && b2 <= 0xFE && b3 >= 0x30 && b3 <= 0x39) return 4;
    }
    return 0;
}

std::optional<size_t> first_invalid(std::string_view s, size_t (*sequence)(std::string_view, size_t)) {
    for (size_t p = 0; p < s.size();) {
        size_t n = sequence(s, p);
        if (n == 0) return p;
        p += n;
    }
    return std::nullopt;
}

}  // namespace

std::vector<Diagnostic> check_template(std::string_view text, const CheckOptions& options) {
    return Checker(text, options).run();
}

Result<DecodedTemplate> decode_template(std::string_view bytes) {
    std::string_view body = bytes;
    if (body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
    auto bad_utf8 = first_invalid(body, utf8_sequence);
    if (!bad_utf8) return DecodedTemplate{std::string(body), false};
    auto bad_gbk = first_invalid(bytes, gbk_sequence);
    if (!bad_gbk) return DecodedTemplate{gbk_to_utf8(bytes), true};
    // The later of the two failures is the more telling: the text got furthest in that reading.
    size_t offset = std::max(*bad_utf8 + (bytes.size() - body.size()), *bad_gbk);
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(bytes[offset]));
    return fail("neither UTF-8 nor GBK text (byte " + std::string(hex) + " at offset " + std::to_string(offset) + ")");
}

std::string_view severity_name(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }

}  // namespace brindle::check
