#include "dede/tag_parser.h"

#include <algorithm>
#include <unordered_map>

#include "dede/php_text.h"

namespace brindle::dede {
namespace {

// The longest tag name looked at when searching for a tag's closer.
constexpr size_t kScannedNameLength = 64;
// DedeCMS reads a tag's name and attributes only up to this many bytes, blanks collapsed.
constexpr size_t kAttributeTextLimit = 1024;

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }


std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// Blanks collapsed to one space, ends trimmed, and "\]" read as "]" so that item templates can hold
// array subscripts in their functions.
std::string normalized(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t k = 0; k < text.size(); ++k) {
        if (is_blank(text[k])) {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else if (text[k] == '\\' && k + 1 < text.size() && text[k + 1] == ']') {
            out += ']';
            ++k;
        } else {
            out += text[k];
        }
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

// The next place of a word at or after a position that only grows: each byte is searched once.
class NextOccurrence {
public:
    NextOccurrence(std::string_view source, std::string_view word) : source_(source), word_(word) {}
    size_t from(size_t at) {
        if (found_ == kUnsearched || (found_ != std::string_view::npos && found_ < at)) found_ = source_.find(word_, at);
        return found_;
    }

private:
    static constexpr size_t kUnsearched = std::string_view::npos - 1;
    std::string_view source_, word_;
    size_t found_ = kUnsearched;
};

// Where each closer stands, by the name it closes, found in one pass: looking for every tag's
// closer from scratch would make a template of many tags quadratic.
class CloserIndex {
public:
    CloserIndex(std::string_view source, const TagSyntax& syntax) {
        for (size_t k = source.find(syntax.closer); k != std::string_view::npos; k = source.find(syntax.closer, k + 1)) {
            size_t name_from = k + syntax.closer.size();
            size_t end = source.substr(name_from, kScannedNameLength + 1).find(syntax.end);
            if (end != std::string_view::npos) by_name_[std::string(source.substr(name_from, end))].push_back(k);
        }
    }
    // The first closer of `name` at or after `at`.
    size_t next(const std::string& name, size_t at) const {
        auto found = by_name_.find(name);
        if (found == by_name_.end()) return std::string_view::npos;
        auto it = std::lower_bound(found->second.begin(), found->second.end(), at);
        return it == found->second.end() ? std::string_view::npos : *it;
    }

private:
    std::unordered_map<std::string, std::vector<size_t>> by_name_;
};

}  // namespace

std::string_view TagAttributes::get(std::string_view name) const {
    for (const auto& [key, value] : items_)
        if (key == name) return value;
    return {};
}

bool TagAttributes::has(std::string_view name) const {
    return std::any_of(items_.begin(), items_.end(), [&](const auto& item) { return item.first == name; });
}

void TagAttributes::set(std::string name, std::string value) {
    for (auto& [key, old] : items_)
        if (key == name) {
            old = std::move(value);
            return;
        }
    items_.emplace_back(std::move(name), std::move(value));
}

std::optional<std::pair<std::string, TagAttributes>> parse_attributes(std::string_view text) {
    const std::string source = normalized(text);
    if (source.empty() || source.size() > kAttributeTextLimit) return std::nullopt;
    TagAttributes attributes;
    // The name runs to the first space; "field.title" is the tag "field" with name "title".
    size_t space = source.find(' ');
    std::string_view head = std::string_view(source).substr(0, space);
    size_t dot = head.find('.');
    std::string name = ascii_lower(head.substr(0, dot));
    if (dot != std::string_view::npos) {
        std::string_view second = head.substr(dot + 1);
        second = second.substr(0, second.find('.'));
        if (!second.empty()) attributes.set("name", std::string(second));
    }
    if (space != std::string::npos) {
        // Names run to '=' (words without one join the next name); a value is quoted with ' or ",
        // where a quote after a backslash does not end it, or runs to the next space.
        enum class State { Name, BeforeValue, Value } state = State::Name;
        std::string key, value;
        char delimiter = ' ';
        for (size_t k = space; k < source.size(); ++k) {
            char c = source[k];
            if (state == State::Name) {
                if (c != '=') {
                    key += c;
                } else {
                    key = ascii_lower(trimmed(key));
                    state = State::BeforeValue;
                }
            } else if (state == State::BeforeValue) {
                if (c == ' ') continue;
                state = State::Value;
                if (c == '"' || c == '\'') {
                    delimiter = c;
                } else {
                    delimiter = ' ';
                    value += c;
                }
            } else if (c == delimiter && source[k - 1] != '\\') {
                attributes.set(std::move(key), std::string(trimmed(value)));
                key.clear();
                value.clear();
                state = State::Name;
            } else {
                value += c;
            }
        }
        // A value left open runs to the end; a last word without '=' is kept as written.
        if (!key.empty()) attributes.set(std::move(key), std::string(trimmed(value)));
    }
    // An attribute called tagname renames the tag.
    if (attributes.has("tagname")) name = ascii_lower(attributes.get("tagname"));
    return std::pair(std::move(name), std::move(attributes));
}

ParsedTemplate parse_tags(std::string_view source, const TagSyntax& syntax) {
    ParsedTemplate parsed;
    if (source.size() <= syntax.open.size() + 3) return parsed;
    const std::string one_line_end = std::string("/") + syntax.end;
    NextOccurrence next_slash_end(source, one_line_end), next_opening(source, syntax.open);
    std::optional<CloserIndex> closers;
    size_t from = 0;
    while (true) {
        size_t begin = source.find(syntax.open, from);
        if (begin == std::string_view::npos) break;
        const size_t after_open = begin + syntax.open.size();
        size_t name_end = after_open;
        while (name_end < source.size() && name_end < after_open + kScannedNameLength) {
            char c = source[name_end];
            if (c == '/' || is_blank(c) || c == syntax.end) break;
            ++name_end;
        }
        std::string_view scanned = source.substr(after_open, name_end - after_open);
        if (scanned.empty()) {
            parsed.stop = ParseStop{begin, {}, false};
            break;
        }
        const std::string name(scanned);
        if (!closers) closers.emplace(source, syntax);
        size_t slash_end = next_slash_end.from(after_open);
        size_t next_open = next_opening.from(after_open);
        size_t own_closer = closers->next(name, after_open);
        constexpr size_t npos = std::string_view::npos;
        // "/}" ends the tag unless the tag's own closer is there and comes first, or no tag
        // opens after it (a missing next opening counts as nearer than anything).
        bool ends_at_slash = own_closer == npos || (slash_end != npos && next_open != npos && slash_end < next_open &&
                                                    slash_end < own_closer);
        size_t end_at = ends_at_slash ? slash_end : own_closer;
        if (end_at == npos) {
            parsed.stop = ParseStop{begin, name, true};
            break;
        }
        size_t end = end_at + (ends_at_slash ? one_line_end.size() : syntax.closer.size() + name.size() + 1);
        from = end;
        // The attributes end at the first end character not escaped with a backslash; the rest is
        // the body.
        size_t split = after_open;
        while (split < end_at && !(source[split] == syntax.end && source[split - 1] != '\\')) ++split;
        auto attributes = parse_attributes(source.substr(after_open, split - after_open));
        if (!attributes) continue;  // too long: skipped, its text stays
        ParsedTag tag;
        tag.name = std::move(attributes->first);
        tag.attributes = std::move(attributes->second);
        if (split < end_at) tag.body = std::string(source.substr(split + 1, end_at - split - 1));
        tag.body_at = split < end_at ? split + 1 : end;
        tag.begin = begin;
        tag.end = end;
        parsed.tags.push_back(std::move(tag));
    }
    return parsed;
}

std::string replace_tags(std::string_view source, const ParsedTemplate& parsed, std::span<const std::string> values) {
    std::string out;
    out.reserve(source.size());
    size_t copied = 0;
    for (size_t i = 0; i < parsed.tags.size(); ++i) {
        out.append(source, copied, parsed.tags[i].begin - copied);
        if (i < values.size()) out += values[i];
        copied = parsed.tags[i].end;
    }
    out.append(source, copied);
    return out;
}

}  // namespace brindle::dede
