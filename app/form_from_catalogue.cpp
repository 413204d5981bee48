#include "app/form_from_catalogue.h"

#include <string>

#include "app/catalogue.h"
#include "app/pictures/icons.h"
#include "app/text_stores.h"
#include "common/gbk.h"
#include "common/try.h"
#include "image/kernel_abi.h"
#include "image/layout.h"
#include "image/property_blobs.h"

namespace brindle::app {
namespace {

namespace kind = abi::kind;
using image::Properties;

namespace edit_box = image::layout::edit_box;

// Values of the edit box style words beyond the named ones.
constexpr uint32_t kEditLayoutPlain = 1;
constexpr uint32_t kEditLayoutLarge = 5;
constexpr uint32_t kEditLargeOutput = 2;
// Input boxes narrower than this count as small (numbers and short ids).
constexpr int kSmallInputWidth = 100;

uint32_t kind_code(ControlKind k) {
    switch (k) {
        case ControlKind::EditBox: return kind::kEditBox;
        case ControlKind::PictureBox: return kind::kPictureBox;
        case ControlKind::GroupBox: return kind::kGroupBox;
        case ControlKind::Label: return kind::kLabel;
        case ControlKind::Button: return kind::kButton;
        case ControlKind::RadioBox: return kind::kRadioBox;
        case ControlKind::ComboBox: return kind::kComboBox;
        case ControlKind::TabControl: return kind::kTabControl;
        case ControlKind::HyperlinkBox: return kind::kHyperlinkBox;
        case ControlKind::ImageButton: return kind::kImageButton;
        case ControlKind::WebBrowserBox: return kind::kWebBrowserBox;
    }
    return 0;
}

void put_word(Properties& p, uint32_t blob_offset, uint32_t value) {
    store_u32le(p.style.data() + blob_offset - 4, value);
}

Result<std::string> gbk(std::string_view utf8, const Control& c, const char* what) {
    auto converted = utf8_to_gbk(utf8);
    if (!converted)
        return fail(std::string(what) + " of " + std::string(c.name) + " cannot be written in GBK: " +
                        converted.error().message,
                    std::string(c.name));
    return *converted;
}

Result<ByteView> picture_of(const Control& c, const Pictures& pictures) {
    switch (c.picture) {
        case Picture::None: return ByteView{};
        case Picture::Layout1: return ByteView(pictures.layouts[0]);
        case Picture::Layout2: return ByteView(pictures.layouts[1]);
        case Picture::Layout3: return ByteView(pictures.layouts[2]);
        case Picture::Layout4: return ByteView(pictures.layouts[3]);
        case Picture::Layout5: return ByteView(pictures.layouts[4]);
        case Picture::ForumButton: return ByteView(pictures.forum_button);
    }
    return fail("unknown picture", std::string(c.name));
}

void set_edit_words(const Control& c, Properties& p) {
    const bool large = c.shape == EditShape::MultiLineOutput;
    // Stores hold several lines; a single-line box would lose their line breaks.
    const bool multi = large || c.shape == EditShape::MultiLineOutputPlain || c.shape == EditShape::Store;
    put_word(p, edit_box::kLayout, large ? kEditLayoutLarge : kEditLayoutPlain);
    image::set_multiline(kind::kEditBox, p, multi);
    put_word(p, edit_box::kLargeOutput, large ? kEditLargeOutput : 0);
    const bool small_input = c.shape == EditShape::Input && c.rect.width < kSmallInputWidth;
    put_word(p, edit_box::kSmallInput, small_input ? 1 : 0);
}

Result<Properties> properties_of(const Control& c, const Pictures& pictures) {
    const uint32_t k = kind_code(c.kind);
    Properties p = image::default_properties(k);
    switch (c.kind) {
        case ControlKind::EditBox: {
            set_edit_words(c, p);
            std::string_view text = c.text;
            if (c.text_store()) {
                const TextStore* store = find_text_store(c.name);
                if (!store) return fail("text store " + std::string(c.name) + " has no text", std::string(c.name));
                text = store->text;
            }
            BRINDLE_TRY(auto converted, gbk(text, c, "initial text"));
            p.text = std::move(converted);
            break;
        }
        case ControlKind::Label:
            image::set_text_colour(k, p, c.text_colour);
            [[fallthrough]];
        case ControlKind::Button:
        case ControlKind::GroupBox: {
            BRINDLE_TRY(auto caption, gbk(c.text, c, "caption"));
            p.caption = std::move(caption);
            break;
        }
        case ControlKind::RadioBox: {
            image::set_checked(k, p, c.checked);
            BRINDLE_TRY(auto caption, gbk(c.text, c, "caption"));
            p.caption = std::move(caption);
            break;
        }
        case ControlKind::ComboBox:
        case ControlKind::TabControl:
            for (std::string_view item : c.items) {
                BRINDLE_TRY(auto converted, gbk(item, c, "item"));
                p.items.push_back(std::move(converted));
            }
            break;
        case ControlKind::HyperlinkBox: {
            BRINDLE_TRY(auto caption, gbk(c.text, c, "caption"));
            BRINDLE_TRY(auto url, gbk(c.url, c, "web address"));
            p.caption = std::move(caption);
            p.url = std::move(url);
            break;
        }
        case ControlKind::PictureBox: {
            BRINDLE_TRY(auto picture, picture_of(c, pictures));
            // No picture: an empty blob, every property at its default.
            if (picture.empty()) return Properties{};
            p.picture.assign(picture.begin(), picture.end());
            break;
        }
        case ControlKind::ImageButton: {
            BRINDLE_TRY(auto picture, picture_of(c, pictures));
            BRINDLE_TRY(auto caption, gbk(c.text, c, "caption"));
            p.picture.assign(picture.begin(), picture.end());
            p.caption = std::move(caption);
            break;
        }
        case ControlKind::WebBrowserBox: {
            BRINDLE_TRY(auto url, gbk(c.url, c, "web address"));
            p.url = std::move(url);
            break;
        }
    }
    return p;
}

image::Geometry geometry(const Rect& r) { return {r.left, r.top, r.width, r.height}; }

Result<void> add_control(image::FormBuilder& form, const Control& c, uint32_t parent_id, const Pictures& pictures) {
    const MainWindow& window = main_window();
    BRINDLE_TRY(auto name, gbk(c.name, c, "name"));
    BRINDLE_TRY(auto properties, properties_of(c, pictures));
    auto element = form.add_control(window.id, c.id, kind_code(c.kind), std::move(name), geometry(c.rect), parent_id,
                                    c.visible);
    if (!element) return fail(element.error().message + " (" + std::string(c.name) + ")", std::string(c.name));
    (*element)->properties = std::move(properties);
    return {};
}

// A control and, depth first, the children of a group box.
Result<void> add_with_children(image::FormBuilder& form, const Control& c, uint32_t parent_id,
                               const Pictures& pictures) {
    if (auto added = add_control(form, c, parent_id, pictures); !added) return added;
    if (c.kind != ControlKind::GroupBox) return {};
    for (const Control* child : group_children(c.name))
        if (auto added = add_with_children(form, *child, c.id, pictures); !added) return added;
    return {};
}

const Control* tab_control() {
    for (const Control* c : page_controls(-1))
        if (c->kind == ControlKind::TabControl) return c;
    return nullptr;
}

}  // namespace

Result<void> add_catalogue(image::FormBuilder& form, const Pictures& pictures) {
    const MainWindow& window = main_window();
    auto caption = utf8_to_gbk(window.caption);
    if (!caption) return fail("the window caption cannot be written in GBK", "caption");
    image::FormWindow& w = form.add_window(window.id, window.element_id, window.unit_id, geometry(window.rect),
                                           std::move(*caption));
    w.elements.front().properties.picture = window_icon_file();

    const Control* tab = tab_control();
    if (!tab) return fail("the catalogue has no tab control", "tab control");
    for (const Control* c : page_controls(-1))
        if (auto added = add_with_children(form, *c, 0, pictures); !added) return added;
    for (int page = 0; page < kPageCount; ++page) {
        if (page > 0)
            if (auto next = form.next_page(window.id, tab->id); !next) return next;
        for (const Control* c : page_controls(page))
            if (auto added = add_with_children(form, *c, tab->id, pictures); !added) return added;
    }

    for (const MenuItem& item : menu_items()) {
        auto item_caption = utf8_to_gbk(item.caption);
        if (!item_caption) return fail("a menu caption cannot be written in GBK", "menu item");
        BRINDLE_CHECK(
            form.add_menu_item(window.id, item.id, static_cast<uint32_t>(item.level), std::move(*item_caption)));
    }
    return {};
}

}  // namespace brindle::app
