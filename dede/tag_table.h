#pragma once
// What DedeCMS defines: its template tags, the attributes each takes, and which of them hold an item
// template where [field:NAME/] is filled in. Data gathered from the published tag reference.
#include <span>
#include <string_view>

namespace brindle::dede {

struct DedeTag {
    std::string_view name;
    // Its body is an item template: [field:...] is valid inside.
    bool lists = false;
    // Blank-separated attribute names; the documentation lists none for a tag whose `open` is set,
    // so its attributes are not checked.
    std::string_view attributes;
    bool open = false;
};

// Every tag, sorted by name.
std::span<const DedeTag> dede_tags();
// The tag of that name (lower case), or null.
const DedeTag* find_dede_tag(std::string_view name);
// Attributes every tag takes: a function applied to its value, and PHP run on it.
bool is_common_attribute(std::string_view name);
// Attributes of [field:NAME .../] inside an item template.
bool is_field_attribute(std::string_view name);
// Does `tag` take `attribute` (lower case)?
bool takes_attribute(const DedeTag& tag, std::string_view attribute);

}  // namespace brindle::dede
