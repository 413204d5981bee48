#pragma once
// The text stores: hidden edit boxes whose initial texts are the longer fragments the palette and
// the builders copy. Texts are UTF-8 here and become GBK when the image is written; lines are
// separated by CR LF.
#include <string_view>
#include <vector>

namespace brindle::app {

struct TextStore {
    std::string_view name;  // the edit box's control name
    std::string_view text;  // its initial text, exact to the byte
};

// Every store, by page, in the order the window lists them.
const std::vector<TextStore>& text_stores();

// The store named `name`, or nullptr.
const TextStore* find_text_store(std::string_view name);

}  // namespace brindle::app
