#pragma once
// Reads a template's tags the way DedeCMS's tag parser does, quirks included, since a preview must
// show what the site will show:
// - a tag ends at the first "/}" after it unless its own closer comes first (or no tag opens
//   before it), so an open tag left without its closer swallows text up to the next "/}";
// - a tag's body is never searched for further tags (bodies that are templates are parsed again
//   by whoever renders them);
// - the name and attributes, blanks collapsed, must fit in 1024 bytes, or the tag is skipped and
//   its text stays as written;
// - an empty name ({dede:}) or a tag that never ends stops the reading: the rest is plain text;
// - a source of no more than the opening word and three bytes is not read at all.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brindle::dede {

// The words of one kind of tag: {dede:NAME/} and {dede:NAME}...{/dede:NAME} in templates,
// [field:NAME/] and [field:NAME]...[/field:NAME] in item templates.
struct TagSyntax {
    std::string_view open;
    std::string_view closer;  // the start of a closer; the name and `end` follow
    char end;
};
inline constexpr TagSyntax kTemplateTags{"{dede:", "{/dede:", '}'};
inline constexpr TagSyntax kItemTags{"[field:", "[/field:", ']'};

// Attribute names are lower case; values keep their case. A later attribute of the same name
// replaces an earlier one.
class TagAttributes {
public:
    // The value, or "" when there is none.
    std::string_view get(std::string_view name) const;
    bool has(std::string_view name) const;
    void set(std::string name, std::string value);
    const std::vector<std::pair<std::string, std::string>>& items() const { return items_; }

private:
    std::vector<std::pair<std::string, std::string>> items_;
};

struct ParsedTag {
    std::string name;  // lower case, without a dotted part (which is the "name" attribute)
    TagAttributes attributes;
    std::string body;
    size_t body_at = 0;  // where the body starts in the source (the tag's end when it has none)
    size_t begin = 0;    // the tag's extent in the source, closer included
    size_t end = 0;
};

// Why the reading stopped early, as DedeCMS would have it.
struct ParseStop {
    size_t at = 0;         // where the tag that stopped it starts
    std::string name;      // its name as scanned, empty for {dede:}
    bool unended = false;  // a tag that never ends (DedeCMS prints a notice for it), not an empty name
};

struct ParsedTemplate {
    std::vector<ParsedTag> tags;  // in source order
    std::optional<ParseStop> stop;
};

ParsedTemplate parse_tags(std::string_view source, const TagSyntax& syntax = kTemplateTags);

// The attributes of a tag from the text between its opening word and its end, as DedeCMS splits
// them; none (no name) when the text is empty or too long once blanks are collapsed.
std::optional<std::pair<std::string, TagAttributes>> parse_attributes(std::string_view text);

// The source with each tag's extent replaced by its value (values.size() == tags.size()).
std::string replace_tags(std::string_view source, const ParsedTemplate& parsed, std::span<const std::string> values);

}  // namespace brindle::dede
