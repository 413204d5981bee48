#include "dede/template_check.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <unordered_map>

#include "common/hex.h"
#include "dede/line_index.h"
#include "dede/php_text.h"
#include "dede/tag_table.h"

namespace brindle::dede {
namespace {

constexpr std::string_view kOpen = "{dede:";
constexpr std::string_view kClose = "{/dede:";
constexpr std::string_view kField = "[field:";
constexpr std::string_view kFieldClose = "[/field:";

// Names longer than this are shown cut (with "…") in messages and get no suggestion: no real name
// comes close, and a megabyte-long name must not become megabytes of report.
constexpr size_t kShownNameLength = 64;
// Undecodable bytes reported one by one per file; the rest are counted in one more line.
constexpr size_t kUndecodableReported = 20;
// DedeCMS reads a tag only when its name and attributes, blanks collapsed, fit in this many bytes;
// a longer tag is printed as written.
constexpr size_t kAttributeLimit = 1024;

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string shown(std::string_view name) {
    if (name.size() <= kShownNameLength) return std::string(name);
    size_t cut = kShownNameLength;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;  // whole characters
    return std::string(name.substr(0, cut)) + "…";
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

// The closest candidate within two edits (one for names of up to four letters, where two edits make
// another word: row is no slip for col) and closer than the name's own length, first one on ties.
template <class Range>
std::optional<std::string> nearest(std::string_view name, const Range& candidates) {
    std::optional<std::string> best;
    if (name.size() > kShownNameLength) return best;
    size_t best_distance = (name.size() <= 4 ? 1 : 2) + 1;
    for (std::string_view candidate : candidates) {
        // The length difference alone is a lower bound of the distance.
        size_t apart = name.size() > candidate.size() ? name.size() - candidate.size() : candidate.size() - name.size();
        if (apart >= best_distance) continue;
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
    std::string name;  // lower case, as its closer must give it
    size_t at = 0;
    const DedeTag* tag = nullptr;  // null when DedeCMS has no such tag
    bool closed = false;
    // Tags met in its body, reported once the body is known to end where it should.
    std::vector<std::pair<size_t, std::string>> nested;
};

// Bytes of UTF-8 text once written in the file's own encoding.
size_t encoded_size(std::string_view utf8, TemplateEncoding encoding) {
    if (encoding == TemplateEncoding::Utf8) return utf8.size();
    size_t n = 0;
    for (size_t k = 0; k < utf8.size(); ++k) {
        auto b = static_cast<unsigned char>(utf8[k]);
        n += b < 0x80 ? 1 : b >= 0xF0 ? 4 : (b & 0xC0) == 0xC0 ? 2 : 0;  // GB18030 gives 4 bytes past U+FFFF
    }
    return n;
}

// Does the template use tags that only DedeCMS's compiling engine has?
bool uses_compiler_tags(std::string_view text) {
    for (size_t k = text.find(kOpen); k != std::string_view::npos; k = text.find(kOpen, k + 1)) {
        size_t from = k + kOpen.size(), to = from;
        while (to < text.size() && std::isalnum(static_cast<unsigned char>(text[to]))) ++to;
        const DedeTag* tag = find_dede_tag(ascii_lower(text.substr(from, to - from)));
        if (tag && tag->engine == Engine::Compiler) return true;
    }
    return false;
}

class Checker {
public:
    Checker(std::string_view text, TemplateEncoding encoding, const CheckOptions& options)
        : text_(text),
          encoding_(encoding),
          options_(options),
          lines_(text),
          compiled_(uses_compiler_tags(text)),
          // Fields and no tag: an item template of its own, as DedeCMS keeps them in templets/system/.
          item_template_(text.find(kOpen) == std::string_view::npos && text.find(kField) != std::string_view::npos) {}

    std::vector<Diagnostic> run(const std::vector<UndecodableByte>& undecodable) {
        report_undecodable(undecodable);
        size_t i = 0;
        while (i < text_.size()) {
            i = text_.find_first_of("{[", i);
            if (i == std::string_view::npos) break;
            std::string_view rest = text_.substr(i);
            if (rest.starts_with(kOpen))
                i = opening(i);
            else if (rest.starts_with(kClose))
                i = closing(i);
            else if (rest.starts_with(kField))
                i = field(i);
            else if (rest.starts_with(kFieldClose))
                i = stray_field_close(i);
            else
                ++i;
        }
        for (const OpenTag& open : stack_)
            if (!open.closed)
                structure(open.at, "{dede:" + shown(open.name) + "} has no matching {/dede:" + shown(open.name) + "}" +
                                       (one_line_form(open) ? "; a tag without a body ends in /}" : ""));
        std::stable_sort(out_.begin(), out_.end(), [](const Diagnostic& a, const Diagnostic& b) {
            return a.line != b.line ? a.line < b.line : a.column < b.column;
        });
        return std::move(out_);
    }

private:
    std::string where(size_t offset) const {
        TextPosition p = lines_.at(offset);
        return std::to_string(p.line) + ":" + std::to_string(p.column);
    }

    void report(size_t offset, Severity severity, std::string message) {
        TextPosition p = lines_.at(offset);
        out_.push_back({static_cast<int>(p.line), static_cast<int>(p.column), severity, std::move(message)});
    }
    // Pairing, nesting and syntax: not judged on a fragment.
    void structure(size_t offset, std::string message) {
        if (!options_.names_only) report(offset, Severity::Error, std::move(message));
    }

    void report_undecodable(const std::vector<UndecodableByte>& undecodable) {
        const std::string reading(encoding_name(encoding_));
        for (size_t k = 0; k < undecodable.size() && k < kUndecodableReported; ++k) {
            report(undecodable[k].at, Severity::Warning,
                   "byte " + hex(undecodable[k].value) + " is not " + reading + " text (the file is read as " +
                       reading + ")");
        }
        if (undecodable.size() > kUndecodableReported)
            report(undecodable[kUndecodableReported].at, Severity::Warning,
                   std::to_string(undecodable.size() - kUndecodableReported) + " more bytes from here on are not " +
                       reading + " text");
    }

    // Tags that take no body, and the dotted value forms ({dede:field.title/}), are mostly meant as
    // one-line tags: worth a hint when left open.
    static bool one_line_form(const OpenTag& open) {
        return open.tag && (open.tag->body == Body::None || open.name.find('.') != std::string::npos);
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
        std::unordered_map<std::string, size_t> first;
        size_t k = from;
        auto skip_blanks = [&] {
            while (k < to && is_blank(text_[k])) ++k;
        };
        // Past a value at k. A quote that is never closed, or closed right against the next word (as
        // in row='10 titlelen='30'), leaves the rest of the tag unreadable: skip it.
        auto value = [&](const std::string& owner) {
            char quote = text_[k];
            if (quote == '\'' || quote == '"') {
                size_t end = text_.substr(0, to).find(quote, k + 1);
                if (end == std::string_view::npos || (end + 1 < to && !is_blank(text_[end + 1]))) {
                    structure(k, owner.empty() ? "unbalanced quote in a value"
                                               : "unbalanced quote in the value of attribute '" + shown(owner) + "'");
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
            std::string name = ascii_lower(text_.substr(name_at, k - name_at));
            skip_blanks();
            if (k < to && text_[k] == '=') {
                ++k;
                skip_blanks();
                if (k >= to)
                    structure(name_at, "attribute '" + shown(name) + "' has no value");
                else
                    value(name);
            } else {
                structure(name_at, "attribute '" + shown(name) + "' has no value");
            }
            if (auto seen = first.find(name); seen != first.end())
                structure(name_at,
                          "attribute '" + shown(name) + "' appears twice (first at " + where(seen->second) + ")");
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

    // DedeCMS measures the text from the tag's name to its closing bracket with blanks collapsed.
    void check_length(size_t at, size_t name_from, const Inside& in, const std::string& shown_tag) {
        if (in.to - name_from <= kAttributeLimit / 4) return;  // even at four bytes a character
        std::string collapsed;
        for (size_t k = name_from; k < in.to; ++k) {
            if (!is_blank(text_[k]))
                collapsed += text_[k];
            else if (!collapsed.empty() && collapsed.back() != ' ')
                collapsed += ' ';
        }
        if (!collapsed.empty() && collapsed.back() == ' ') collapsed.pop_back();
        size_t size = encoded_size(collapsed, encoding_);
        if (size > kAttributeLimit)
            structure(at, shown_tag + " takes " + std::to_string(size) + " bytes with its attributes, over " +
                              "DedeCMS's limit of " + std::to_string(kAttributeLimit) +
                              ": DedeCMS prints the whole tag as written");
    }

    // An attribute the tag does not read is ignored by DedeCMS, and templates use that for notes
    // (alt='...'); only a near miss of one it reads is worth a word.
    template <class Range>
    void check_attributes(const std::vector<Attribute>& attrs, const Range& known, const std::string& shown_tag,
                          auto&& reads) {
        for (const Attribute& a : attrs) {
            if (reads(a.name)) continue;
            if (auto guess = nearest(a.name, known))
                report(a.at, Severity::Warning,
                       shown_tag + " attribute '" + shown(a.name) + "' is ignored by DedeCMS; did you mean '" + *guess +
                           "'?");
        }
    }

    size_t opening(size_t at) {
        size_t name_from = at + kOpen.size();
        size_t name_to = name_end(name_from, '}');
        std::string_view written = text_.substr(name_from, name_to - name_from);
        if (written.empty()) {
            structure(at, "{dede: has no tag name");
            return name_from;
        }
        auto bracket = tag_end(name_to, '}');
        if (!bracket) {
            structure(at, "{dede:" + shown(written) + " is not closed with }");
            return name_to;
        }
        Inside in = inside(name_to, *bracket);
        std::vector<Attribute> attrs = attributes(in.from, in.to);

        std::string name = ascii_lower(written);
        std::string base = name.substr(0, name.find('.'));
        const DedeTag* tag = find_dede_tag(base);
        const std::string shown_tag = "{dede:" + shown(base) + "}";
        check_length(at, name_from, in, shown_tag);
        if (!tag) {
            // The compiler binds any other name to a function: nothing to say there.
            if (!compiled_) {
                std::vector<std::string_view> names;
                for (const DedeTag& t : dede_tags()) names.push_back(t.name);
                auto guess = nearest(base, names);
                report(at, Severity::Warning,
                       "unknown tag " + shown_tag + (guess ? "; did you mean {dede:" + *guess + "}?" : ""));
            }
        } else {
            std::vector<std::string_view> known = words(tag->attributes);
            for (std::string_view common : {"function", "runphp", "source"}) known.push_back(common);
            check_attributes(attrs, known, shown_tag, [&](const std::string& a) { return takes_attribute(*tag, a); });
        }
        if (!compiled_ && !stack_.empty() && stack_.back().tag && stack_.back().tag->body != Body::Template)
            stack_.back().nested.emplace_back(at, shown_tag);
        // The compiler pairs {dede:array.items} with {/dede:array}; the tag parser wants the full name.
        if (!in.one_line) push_open({compiled_ ? base : name, at, tag, false, {}});
        return *bracket + 1;
    }

    void push_open(OpenTag tag) {
        open_by_name_[tag.name].push_back(stack_.size());
        ++open_count_;
        stack_.push_back(std::move(tag));
    }

    // Closed tags stay in the stack as marks until nothing open lies above them, so closing a tag deep
    // down costs no more than closing the innermost one.
    void close_open(size_t index) {
        OpenTag& tag = stack_[index];
        tag.closed = true;
        --open_count_;
        open_by_name_[tag.name].pop_back();
        while (!stack_.empty() && stack_.back().closed) stack_.pop_back();
    }

    size_t closing(size_t at) {
        size_t name_from = at + kClose.size();
        auto bracket = tag_end(name_from, '}');
        std::string_view written = text_.substr(name_from, (bracket ? *bracket : name_end(name_from, '}')) - name_from);
        if (!bracket) {
            structure(at, "{/dede:" + shown(written) + " is not closed with }");
            return name_from;
        }
        std::string name = ascii_lower(written);
        if (compiled_) name = name.substr(0, name.find('.'));
        auto open = open_by_name_.find(name);
        if (open == open_by_name_.end() || open->second.empty()) {
            structure(at, "{/dede:" + shown(written) + "} has no matching {dede:" + shown(written) + "}");
        } else {
            size_t index = open->second.back();
            if (index == stack_.size() - 1) {
                const std::string outer = "{dede:" + shown(stack_[index].tag ? stack_[index].tag->name : name) + "}";
                for (const auto& [inner_at, inner] : stack_[index].nested)
                    report(inner_at, Severity::Warning,
                           inner + " inside " + outer + " will print as written: DedeCMS " +
                               "does not parse the body of " + outer + " again");
            } else {
                const OpenTag& inner = stack_.back();
                structure(at, "{/dede:" + shown(written) + "} closes {dede:" + shown(written) + "} while {dede:" +
                                  shown(inner.name) + "} opened at " + where(inner.at) + " is still open");
            }
            close_open(index);
        }
        return *bracket + 1;
    }

    // Where [/field:NAME] next stands at or after `from`: every closer is indexed once, in one pass.
    std::optional<size_t> field_closer(const std::string& name, size_t from) {
        if (!field_closers_) {
            field_closers_.emplace();
            for (size_t k = text_.find(kFieldClose); k != std::string_view::npos; k = text_.find(kFieldClose, k + 1)) {
                size_t name_from = k + kFieldClose.size();
                size_t name_to = name_end(name_from, ']');
                if (name_to < text_.size() && text_[name_to] == ']')
                    (*field_closers_)[std::string(text_.substr(name_from, name_to - name_from))].push_back(k);
            }
        }
        auto found = field_closers_->find(name);
        if (found == field_closers_->end()) return std::nullopt;
        auto next = std::lower_bound(found->second.begin(), found->second.end(), from);
        if (next == found->second.end()) return std::nullopt;
        return *next;
    }

    size_t field(size_t at) {
        size_t name_from = at + kField.size();
        size_t name_to = name_end(name_from, ']');
        std::string written(text_.substr(name_from, name_to - name_from));
        auto bracket = tag_end(name_to, ']');
        if (!bracket) {
            structure(at, "[field:" + shown(written) + " is not closed with ]");
            return name_to;
        }
        Inside in = inside(name_to, *bracket);
        const std::string shown_tag = "[field:" + shown(written) + "]";
        check_length(at, name_from, in, shown_tag);
        check_attributes(attributes(in.from, in.to),
                         std::array<std::string_view, 4>{"function", "runphp", "name", "source"}, shown_tag,
                         [](const std::string& a) { return is_field_attribute(a); });
        // DedeCMS fills [field:] in the body of a block tag; anywhere else it stays as it is.
        if (open_count_ == 0 && !item_template_ && !options_.names_only)
            report(at, Severity::Warning, shown_tag + " is outside any block tag and will print as written");
        if (in.one_line) return *bracket + 1;
        // [field:NAME runphp='yes'] PHP code [/field:NAME]: the code is not template text.
        auto end = field_closer(written, *bracket + 1);
        if (!end) {
            structure(at, "[field:" + shown(written) + "] has no matching [/field:" + shown(written) + "]");
            return *bracket + 1;
        }
        return *end + kFieldClose.size() + written.size() + 1;
    }

    size_t stray_field_close(size_t at) {
        size_t name_from = at + kFieldClose.size();
        size_t name_to = name_end(name_from, ']');
        std::string_view written = text_.substr(name_from, name_to - name_from);
        structure(at, "[/field:" + shown(written) + "] has no matching [field:" + shown(written) + "]");
        return name_to;
    }

    std::string_view text_;
    TemplateEncoding encoding_;
    CheckOptions options_;
    LineIndex lines_;
    bool compiled_;       // a template for DedeCMS's compiling engine
    bool item_template_;  // the body of a list tag, kept in a file of its own
    std::vector<OpenTag> stack_;
    std::unordered_map<std::string, std::vector<size_t>> open_by_name_;  // stack indices of open tags
    size_t open_count_ = 0;                                              // tags still open
    std::optional<std::unordered_map<std::string, std::vector<size_t>>> field_closers_;
    std::vector<Diagnostic> out_;
};

}  // namespace

std::vector<Diagnostic> check_template(std::string_view text, const CheckOptions& options) {
    return Checker(text, TemplateEncoding::Utf8, options).run({});
}

std::vector<Diagnostic> check_template(const DecodedTemplate& decoded, const CheckOptions& options) {
    return Checker(decoded.text, decoded.encoding, options).run(decoded.undecodable);
}

std::string_view severity_name(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }

}  // namespace brindle::dede
