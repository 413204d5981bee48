#pragma once
// What DedeCMS defines: its template tags, where each is implemented, what it does with its body,
// and the attributes it reads. Gathered from DedeCMS V5.7.88's own tag libraries and parsers.
#include <span>
#include <string_view>

namespace brindle::dede {

// What a tag does with the text between {dede:NAME} and {/dede:NAME}.
enum class Body {
    None,      // never read: a one-line tag
    Items,     // an item template, [field:NAME/] filled in for each row
    Text,      // taken as it is (PHP code, raw text)
    Template,  // parsed again as a template, so {dede:...} inside it works
};

// DedeCMS has two template engines. Most pages go through the tag parser (dedetag.class.php); a few
// forms (the shopping cart, feedback, guestbook, advanced search, the admin lists) through a
// compiler (dedetemplate.class.php) that has tags of its own, parses nested tags and binds any
// other name to a function.
enum class Engine { TagParser, Compiler };

struct DedeTag {
    std::string_view name;
    std::string_view source;  // the DedeCMS file that implements it
    Body body = Body::None;
    // Blank-separated, lower case: every attribute the tag reads besides the common ones. The
    // compiler's tags are not checked ("*").
    std::string_view attributes;
    Engine engine = Engine::TagParser;
};

// Every tag, sorted by name.
std::span<const DedeTag> dede_tags();
// The tag of that name (lower case), or null.
const DedeTag* find_dede_tag(std::string_view name);
// Attributes every tag reads: a function applied to its value, PHP run on its body, and which of
// the two the PHP takes.
bool is_common_attribute(std::string_view name);
// Attributes of [field:NAME .../] inside an item template.
bool is_field_attribute(std::string_view name);
// Does `tag` read `attribute` (lower case)?
bool takes_attribute(const DedeTag& tag, std::string_view attribute);

}  // namespace brindle::dede
