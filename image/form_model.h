#pragma once
// The form section as plain values: windows, their elements (the window element, controls, menu
// items), geometry, nesting, event bindings and decoded property blobs. Texts are GBK bytes.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/bytes.h"
#include "image/kernel_abi.h"

namespace brindle::image {

inline constexpr uint32_t kNoRoutine = 0xFFFFFFFF;  // a menu title's click offset

// Geometry a reader accepts, in pixels: what 16-bit window-system coordinates (X11, Windows' window
// messages) can express. Past it no screen shows anything, and Qt would try to allocate a backing
// store of width × height pixels.
inline constexpr int32_t kMaxExtent = 32767;     // width and height: 0 to kMaxExtent
inline constexpr int32_t kMinPosition = -32768;  // left and top: kMinPosition to kMaxExtent

// Element flag bits.
namespace element_flag {
inline constexpr uint32_t kVisible = 0x01;
inline constexpr uint32_t kTakesInput = 0x04;
}  // namespace element_flag

struct EventBinding {
    int32_t index = 0;
    uint32_t code_offset = 0;
    friend bool operator==(const EventBinding&, const EventBinding&) = default;
};

// A decoded property blob. `style` holds the blob's bytes from offset 4 up to its first variable
// field, so style words whose meaning is open are kept exactly; the named words are read and written
// in place through the accessors. Which of the variable fields a kind uses is fixed per kind.
struct Properties {
    bool empty = true;  // an empty blob: every property keeps its default
    uint32_t version = 0;
    Bytes style;
    std::string caption;             // window, label, button, radio box, group box, hyperlink, image button
    std::string text;                // edit box initial text
    std::vector<std::string> items;  // combo box items, tab page captions
    std::string url;                 // hyperlink target, web browser start address
    Bytes picture;                   // window icon, picture box picture, image button picture
    Bytes background;                // window background picture
    Bytes middle;                    // hyperlink: the word after the caption; image button: bytes after the picture
    Bytes tail;                      // whatever follows the last variable field
    friend bool operator==(const Properties&, const Properties&) = default;
};

struct Element {
    uint32_t id = 0;
    uint32_t kind = 0;
    std::string name;
    std::string comment;

    // Window element and controls.
    int32_t left = 0, top = 0, width = 0, height = 0;
    uint32_t parent_id = 0;               // 0: directly on the window
    std::vector<uint32_t> children;       // for a tab control, pages separated by 0 entries
    Bytes cursor = Bytes(4, 0);
    std::string tag;
    uint32_t flags = 0;
    std::vector<EventBinding> events;
    Properties properties;

    // Menu items.
    uint32_t level = 0;  // 0 a title, 1 an item under the nearest preceding title
    std::string caption;
    uint32_t click_offset = kNoRoutine;

    bool is_menu_item() const { return abi::id::top(id) == abi::id::kMenuItemTop; }
    bool visible() const { return (flags & element_flag::kVisible) != 0; }
    friend bool operator==(const Element&, const Element&) = default;
};

struct FormWindow {
    uint32_t id = 0;
    uint32_t window_word = 0;
    uint32_t block_word = 0;
    uint32_t unit_id = 0;
    std::vector<Element> elements;  // the window element first

    const Element* find(uint32_t element_id) const;
    // The tab page of each control that sits on one (directly or inside a group box), by identifier.
    std::map<uint32_t, uint32_t> pages() const;
    friend bool operator==(const FormWindow&, const FormWindow&) = default;
};

struct FormModel {
    std::vector<FormWindow> windows;

    const FormWindow* find_window(uint32_t window_id) const;
    // The window element is named by its own 0x06 identifier, like any other element.
    const Element* find_element(uint32_t window_id, uint32_t element_id) const;
    // The code offset bound to (element, event index); a menu item's event 0 is its click.
    std::optional<uint32_t> find_routine(uint32_t window_id, uint32_t element_id, int32_t event_index) const;
    // The same by element alone: element identifiers are unique across the image.
    std::optional<uint32_t> find_routine(uint32_t element_id, int32_t event_index) const;
    // The largest serial in use by windows, window units and elements; 0 when there are none.
    uint32_t highest_serial() const;
    friend bool operator==(const FormModel&, const FormModel&) = default;
};

}  // namespace brindle::image
