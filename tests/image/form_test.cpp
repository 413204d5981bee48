#include <gtest/gtest.h>

#include "image/form_reader.h"
#include "image/form_writer.h"
#include "image/image_reader.h"
#include "image/kernel_abi.h"
#include "image/property_blobs.h"
#include "sample_image.h"

using namespace brindle;
using namespace brindle::image;
using namespace brindle::image::testing;
namespace kind = brindle::abi::kind;

namespace {

FormModel sample_form() {
    static const Bytes bytes = sample_image();
    auto image = open_image(bytes);
    if (!image) throw std::runtime_error(image.error().describe());
    return image->form;
}

std::string text_at(const Bytes& blob, size_t at) {
    const uint32_t n = load_u32le(blob.data() + at);
    return std::string(blob.begin() + at + 4, blob.begin() + at + 4 + n);
}

}  // namespace

TEST(FormPages, SeparatorsGivePagesAndAnEmptyPageIsAPage) {
    const FormModel form = sample_form();
    const FormWindow& w = form.windows[0];
    const Element* tab = w.find(kTab);
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->children, (std::vector<uint32_t>{kEdit, 0, 0, kGroup, kButton}));  // 2 separators, 3 pages
    EXPECT_EQ(tab->properties.items.size(), 3u);
    const auto pages = w.pages();
    EXPECT_EQ(pages.at(kEdit), 0u);
    EXPECT_EQ(pages.at(kGroup), 2u);
    EXPECT_EQ(pages.at(kRadio), 2u);  // inside the group box: the group box's page
    EXPECT_EQ(pages.at(kButton), 2u);
    EXPECT_FALSE(pages.contains(kLabel));
    EXPECT_FALSE(pages.contains(kTab));
    EXPECT_EQ(w.find(kRadio)->parent_id, kGroup);
}

TEST(FormElements, GeometryFlagsEventsAndMenus) {
    const FormModel form = sample_form();
    const Element* store = form.find_element(kMainWindow, kStore);
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(store->left, -72);
    EXPECT_EQ(store->flags, element_flag::kTakesInput);  // a hidden input kind
    EXPECT_FALSE(store->visible());
    EXPECT_EQ(form.find_element(kMainWindow, kEdit)->flags, 5u);
    EXPECT_EQ(form.find_element(kMainWindow, kLabel)->flags, 1u);

    const Element* title = form.find_element(kMainWindow, kMenuTitle);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->level, 0u);
    EXPECT_EQ(title->click_offset, 0xFFFFFFFFu);
    EXPECT_EQ(form.find_routine(kMainWindow, kMenuTitle, 0), std::nullopt);
    EXPECT_EQ(form.find_routine(kMainWindow, kMenuItem, 0), 0x2Fu);
    EXPECT_EQ(form.find_routine(kMainWindow, kWindowElement, kTrayEvent), 0x2Fu);
    EXPECT_EQ(form.find_routine(kMainWindow, kWindowElement, 0), kClickRoutine);
    EXPECT_EQ(form.find_routine(kMainWindow, kRadio, 0), kClickRoutine);
    EXPECT_EQ(form.find_routine(kMainWindow, kRadio, 1), std::nullopt);
    EXPECT_EQ(form.find_routine(kButton, 0), kClickRoutine);
    EXPECT_EQ(form.find_routine(0x52099999, kRadio, 0), std::nullopt);
    EXPECT_EQ(form.highest_serial(), kHighest);
}

TEST(FormProperties, EmptyBlobKeepsDefaults) {
    auto empty = decode_properties(kind::kPictureBox, {});
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty);
    EXPECT_EQ(*encode_properties(kind::kPictureBox, *empty), Bytes{});
    const FormModel form = sample_form();
    EXPECT_TRUE(form.find_element(kMainWindow, 0x16010033)->properties.empty);
}

TEST(FormProperties, EditBoxTextLiesAtTheOddOffset0x46AndKeepsItsLineBreaks) {
    Properties p = default_properties(kind::kEditBox);
    p.text = "line 1\r\nline 2";
    set_multiline(kind::kEditBox, p, true);
    const Bytes blob = *encode_properties(kind::kEditBox, p);
    ASSERT_EQ(blob.size(), 0x46u + 4 + 14 + 8);
    EXPECT_EQ(load_u32le(blob.data()), 2u);
    EXPECT_EQ(load_u32le(blob.data() + 0x04), 1u);
    EXPECT_EQ(load_u32le(blob.data() + 0x0C), 0xFFFFFFu);
    EXPECT_EQ(load_u32le(blob.data() + 0x18), 1u);
    EXPECT_EQ(text_at(blob, 0x46), "line 1\r\nline 2");
    EXPECT_EQ(Bytes(blob.end() - 8, blob.end()), Bytes(8, 0));  // no terminator, then the tail
    auto back = decode_properties(kind::kEditBox, blob);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->text, "line 1\r\nline 2");
    EXPECT_EQ(multiline(kind::kEditBox, *back), true);
}

TEST(FormProperties, EachKindPutsItsFieldsWhereTheyBelong) {
    struct Case {
        uint32_t kind;
        uint32_t version;
        uint32_t caption_at;  // where the first variable field's count lies
    };
    for (const Case c : {Case{kind::kLabel, 2, 0x4C}, Case{kind::kButton, 1, 0x18}, Case{kind::kRadioBox, 1, 0x2C},
                         Case{kind::kGroupBox, 1, 0x14}, Case{kind::kHyperlinkBox, 1, 0x20},
                         Case{kind::kWebBrowserBox, 1, 0x10}, Case{kind::kEditBox, 2, 0x46}}) {
        Properties p = default_properties(c.kind);
        p.caption = p.text = p.url = "X\r\n";
        const Bytes blob = *encode_properties(c.kind, p);
        EXPECT_EQ(load_u32le(blob.data()), c.version) << c.kind;
        EXPECT_EQ(text_at(blob, c.caption_at), "X\r\n") << c.kind;
    }
    Properties link = default_properties(kind::kHyperlinkBox);
    link.caption = "forum";
    link.url = "http://a/";
    const Bytes link_blob = *encode_properties(kind::kHyperlinkBox, link);
    EXPECT_EQ(load_u32le(link_blob.data() + 0x29), 0u);
    EXPECT_EQ(text_at(link_blob, 0x2D), "http://a/");

    Properties combo = default_properties(kind::kComboBox);
    combo.items = {"a", "bc"};
    const Bytes combo_blob = *encode_properties(kind::kComboBox, combo);
    EXPECT_EQ(load_u32le(combo_blob.data() + 0x18), 1u);
    EXPECT_EQ(load_u32le(combo_blob.data() + 0x20), 0xFFFFFFu);
    EXPECT_EQ(load_u16le(combo_blob.data() + 0x34), 2u);
    EXPECT_EQ(text_at(combo_blob, 0x36), "a");
    EXPECT_EQ(text_at(combo_blob, 0x3B), "bc");
    EXPECT_EQ(combo_blob.size(), 0x3Bu + 6 + 12);

    Properties tab = default_properties(kind::kTabControl);
    tab.items = {"p"};
    const Bytes tab_blob = *encode_properties(kind::kTabControl, tab);
    EXPECT_EQ(load_u16le(tab_blob.data() + 0x20), 1u);
    EXPECT_EQ(text_at(tab_blob, 0x22), "p");

    Properties button = default_properties(kind::kImageButton);
    button.picture = tiny_gif();
    button.caption = "go";
    const Bytes button_blob = *encode_properties(kind::kImageButton, button);
    const size_t after_picture = 0x50 + 4 + tiny_gif().size();
    EXPECT_EQ(load_u32le(button_blob.data() + 0x50), tiny_gif().size());
    EXPECT_EQ(Bytes(button_blob.begin() + after_picture, button_blob.begin() + after_picture + 16), Bytes(16, 0));
    EXPECT_EQ(text_at(button_blob, after_picture + 16), "go");
    EXPECT_EQ(load_u32le(button_blob.data() + after_picture + 22), 0xFF000000u);
    EXPECT_EQ(button_blob.size(), after_picture + 30);

    Properties window = default_properties(kind::kWindow);
    window.picture = tiny_ico();
    window.caption = "Brindle";
    const Bytes window_blob = *encode_properties(kind::kWindow, window);
    EXPECT_EQ(load_u32le(window_blob.data() + 4), 2u);
    EXPECT_EQ(load_u32le(window_blob.data() + 12), 0xFF000000u);
    EXPECT_EQ(load_u32le(window_blob.data() + 0x50), tiny_ico().size());
    const size_t background = 0x54 + tiny_ico().size();
    EXPECT_EQ(load_u32le(window_blob.data() + background), 0u);
    EXPECT_EQ(text_at(window_blob, background + 4), "Brindle");
    EXPECT_EQ(window_blob.size(), background + 4 + 11 + 4);

    Properties label = default_properties(kind::kLabel);
    set_text_colour(kind::kLabel, label, 0x0000FF);
    EXPECT_EQ(load_u32le(encode_properties(kind::kLabel, label)->data() + 0x1C), 0xFFu);
    Properties radio = default_properties(kind::kRadioBox);
    set_checked(kind::kRadioBox, radio, true);
    EXPECT_EQ(load_u32le(encode_properties(kind::kRadioBox, radio)->data() + 0x20), 1u);
    Properties picture = default_properties(kind::kPictureBox);
    picture.picture = tiny_gif();
    EXPECT_EQ(load_u32le(encode_properties(kind::kPictureBox, picture)->data() + 0x14), tiny_gif().size());
}

TEST(FormProperties, OpenStyleWordsSurviveAReadAndWrite) {
    for (uint32_t k : {kind::kWindow, kind::kEditBox, kind::kPictureBox, kind::kGroupBox, kind::kLabel, kind::kButton,
                       kind::kRadioBox, kind::kComboBox, kind::kTabControl, kind::kHyperlinkBox, kind::kImageButton,
                       kind::kWebBrowserBox}) {
        Properties p = default_properties(k);
        for (size_t i = 0; i < p.style.size(); ++i) p.style[i] = uint8_t(i * 37 + k);
        p.tail = {9, 8, 7};
        p.caption = "c";
        p.items = {"i"};
        const Bytes blob = *encode_properties(k, p);
        auto back = decode_properties(k, blob);
        ASSERT_TRUE(back) << back.error().describe();
        EXPECT_EQ(*encode_properties(k, *back), blob) << k;
    }
    EXPECT_FALSE(kind_has_blob(kind::kMenuItem));
    EXPECT_TRUE(is_known_kind(kind::kMenuItem));
}

TEST(FormRules, ModelsThatBreakTheRulesAreRefused) {
    const FormModel good = sample_form();
    ASSERT_TRUE(check_form(good));
    auto element = [](FormModel& f, uint32_t id) -> Element& {
        for (Element& e : f.windows[0].elements)
            if (e.id == id) return e;
        throw std::runtime_error("no element");
    };
    FormModel separator = good;
    element(separator, kGroup).children.push_back(0);
    EXPECT_EQ(check_form(separator).error().message, "only a tab control's child list holds page separators");

    FormModel twice = good;
    element(twice, kTab).children.push_back(kEdit);
    EXPECT_EQ(check_form(twice).error().message, "child 0x16010010 is listed twice");

    FormModel missing = good;
    std::erase(element(missing, kGroup).children, kRadio);
    EXPECT_EQ(check_form(missing).error().message, "control 0x16010012 is missing from its parent's child list");

    FormModel cycle = good;  // two group boxes inside each other, neither on the window
    element(cycle, kGroup).parent_id = 0x16010040;
    std::erase(element(cycle, kTab).children, kGroup);
    Element& other = element(cycle, kButton);
    other.kind = kind::kGroupBox;
    other.properties = default_properties(kind::kGroupBox);
    other.id = 0x16010040;
    other.parent_id = kGroup;
    other.children = {kGroup};
    element(cycle, kGroup).children.push_back(0x16010040);
    std::erase(element(cycle, kTab).children, kButton);
    EXPECT_EQ(check_form(cycle).error().message, "parents of 0x16010011 form a cycle");

    FormModel serial = good;
    serial.windows[0].unit_id = 0x19010353;  // the serial of an element
    EXPECT_EQ(check_form(serial).error().field, "element_id");
}

TEST(FormBuilder, RefusesParentsThatCannotHoldControls) {
    FormBuilder b;
    b.add_window(kMainWindow, kWindowElement, kUnit, {});
    ASSERT_TRUE(b.add_control(kMainWindow, kLabel, kind::kLabel, "label", {}));
    EXPECT_EQ(b.add_control(kMainWindow, kEdit, kind::kEditBox, "edit", {}, kLabel).error().field, "parent_id");
    EXPECT_EQ(b.next_page(kMainWindow, kLabel).error().field, "tab control");
    EXPECT_EQ(b.allocate(0x16), 0x16010042u);  // after the unit's serial
    auto bytes = write_form(*b.finish());
    ASSERT_TRUE(bytes);
    auto back = read_form(*bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, b.model());
}

TEST(FormRules, GeometryNoScreenCanShowIsRefusedWhereItStands) {
    // The reader's message, after checking that its field and offset point at the value itself.
    auto read_with = [](uint32_t id, int32_t Element::*field, const char* name, int32_t value) -> std::string {
        FormModel form = sample_form();
        for (Element& e : form.windows[0].elements)
            if (e.id == id) e.*field = value;
        auto bytes = write_form(form);
        if (!bytes) return "unwritten: " + bytes.error().describe();
        auto back = read_form(*bytes);
        if (back) return "read";
        const Error& error = back.error();
        if (error.field != name || error.offset + 4 > bytes->size() ||
            static_cast<int32_t>(load_u32le(bytes->data() + error.offset)) != value)
            return "misplaced: " + error.describe();
        return error.message;
    };
    EXPECT_EQ(read_with(kWindowElement, &Element::width, "width", 100000),
              "width 100000 of the window element 0x06010000 lies outside 0 to 32767 pixels");
    EXPECT_EQ(read_with(kEdit, &Element::height, "height", 2147483647),
              "height 2147483647 of control 0x16010010 lies outside 0 to 32767 pixels");
    EXPECT_EQ(read_with(kEdit, &Element::width, "width", -1), "width -1 of control 0x16010010 lies outside 0 to 32767 pixels");
    EXPECT_EQ(read_with(kEdit, &Element::top, "top", -40000),
              "top -40000 of control 0x16010010 lies outside -32768 to 32767 pixels");
    // The largest of each still reads, and a hidden store keeps its place left of the window.
    EXPECT_EQ(read_with(kWindowElement, &Element::height, "height", 32767), "read");
    EXPECT_EQ(read_with(kStore, &Element::left, "left", -32768), "read");
}
