#pragma once
// The tool's user interface as data: the main window, its pop-up menu, the tab control's seven
// pages and every control on them. The image compiler turns these tables into the form section;
// feature routines address controls by name through find_control. Texts are UTF-8 here and become
// GBK when the image is written.
#include <cstdint>
#include <string_view>
#include <vector>

namespace brindle::app {

enum class ControlKind {
    EditBox,
    PictureBox,
    GroupBox,
    Label,
    Button,
    RadioBox,
    ComboBox,
    TabControl,
    HyperlinkBox,
    ImageButton,
    WebBrowserBox,
};

// How an edit box is laid out; output shapes decide the multi-line words of its property blob.
enum class EditShape {
    Input,
    SingleLineOutput,
    MultiLineOutput,
    MultiLineOutputPlain,  // multi-line, without the large-output word (编辑框_自定义字段)
    Store,                 // a text store: holds a snippet as its initial text, never edited
};

// Pictures drawn by the image compiler; None = an empty property blob.
enum class Picture { None, Layout1, Layout2, Layout3, Layout4, Layout5, ForumButton };

// The feature that a control's principal event (a click) starts; None = no binding.
enum class Feature {
    None,
    InsertSnippet,
    Copy,
    NavigationBuilder,
    DocumentListBuilder,
    ClearForm,
    ListPageBuilder,
    SlideshowBuilder,
    CustomFieldBuilder,
    NoAction,  // bound to a routine that does nothing
    HideWindow,
    OpenForum,
};

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
};

struct Control {
    std::string_view name;  // "编辑框_导航栏目数"
    ControlKind kind;
    uint32_t id = 0;                // 0x16xxxxxx; assigned in catalogue order unless fixed
    int page = -1;                  // 0..6; -1 = placed directly on the window
    std::string_view parent = {};   // containing group box; "" = the page (or the window)
    Rect rect = {};                 // relative to the parent
    bool visible = true;
    std::string_view text = {};     // caption, or an edit box's initial text; empty for text stores
    std::vector<std::string_view> items = {};  // combo box items; the tab control's page captions
    bool checked = false;           // radio boxes
    uint32_t text_colour = 0;       // labels: 0x00BBGGRR, 0 = black
    EditShape shape = EditShape::Input;  // edit boxes
    Picture picture = Picture::None;
    std::string_view url = {};      // hyperlink target, web browser start address
    Feature feature = Feature::None;

    // A text store's initial text lives in the store table under the control's name.
    bool text_store() const { return kind == ControlKind::EditBox && shape == EditShape::Store; }
};

enum class MenuAction { None, ShowWindow, HideWindow, CloseWindow };

struct MenuItem {
    uint32_t id;
    int level;  // 0 = a menu title, 1 = an item under the nearest preceding title
    std::string_view caption;
    MenuAction action;
};

struct MainWindow {
    uint32_t id;          // 0x52010001
    uint32_t element_id;  // 0x06010000
    uint32_t unit_id;     // 0x19xxxxxx
    Rect rect;  // screen position and outer size
    std::string_view caption;
    std::vector<std::string_view> page_captions;
};

inline constexpr int kPageCount = 7;

const MainWindow& main_window();

// Catalogue order: the window's own controls, then page by page in table order (a group box's
// children right after it).
const std::vector<Control>& controls();

const std::vector<MenuItem>& menu_items();

// nullptr when no control has that name.
const Control* find_control(std::string_view name);

// Controls whose parent is the named group box, in catalogue order.
std::vector<const Control*> group_children(std::string_view group_name);

// Controls placed directly on a page (no group box between), in catalogue order; page -1 gives
// the window's own controls.
std::vector<const Control*> page_controls(int page);

// The largest serial (low three bytes) of every identifier: window, element, unit, controls, menu.
uint32_t highest_serial();

}  // namespace brindle::app
