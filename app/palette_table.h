#pragma once
// The palette and the copy buttons as tables: every radio box that writes a fixed fragment into its
// page's output box, and every button that copies an output box to the clipboard. One routine per
// kind of action walks these rows.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace brindle::app {

// The label beside 编辑框_头尾's copy button; entries that point to the copy button recaption it.
inline constexpr std::string_view kCopyHintLabel = "标签1";

struct PaletteEntry {
    enum class Source { Literal, Store };

    std::string_view control;     // the radio box clicked
    std::string_view target;      // the output box whose whole text is replaced
    Source source;
    std::string_view text;        // the literal, or the store's name
    bool points_to_copy = false;  // also sets kCopyHintLabel's caption to kPointToCopy
};

// All 82 entries, page by page in the window's order.
const std::vector<PaletteEntry>& palette_entries();

struct CopyEntry {
    std::string_view control;               // the button clicked
    std::string_view box;                   // the output box copied
    int32_t style;                          // abi::style::kInformation or kPlain
    std::optional<std::string_view> title;  // nullopt: the kernel's default title
};

// The five copy buttons.
const std::vector<CopyEntry>& copy_entries();

}  // namespace brindle::app
