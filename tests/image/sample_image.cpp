#include "sample_image.h"

#include <stdexcept>

#include "image/constant_pool.h"
#include "image/form_writer.h"
#include "image/kernel_abi.h"
#include "image/property_blobs.h"

namespace brindle::image::testing {
namespace {

namespace kind = abi::kind;

template <class T>
T must(Result<T> r) {
    if (!r) throw std::runtime_error(r.error().describe());
    return std::move(*r);
}
void must(Result<void> r) {
    if (!r) throw std::runtime_error(r.error().describe());
}

const char kKernelId[] = "0123456789abcdef0123456789abcdef";
const char kUikitId[] = "0123456789ABCDEF0123456789ABCDEf";
const std::string kCoreGbk = "\xBA\xCB\xD0\xC4";         // 核心
const std::string kTabNameGbk = "\xD1\xA1\xD4\xF1\xBC\xD0" "1";  // 选择夹1

// The sample code: every relocation kind and every reference list.
//   00 push const 0        05 push const 0x18     0A fld qword [const 0x19]
//   10 mov [var 0], eax    15 push 0x52010001     1A mov eax, 1
//   1F push 0x00010003     24 push code 0x24      29 jmp [service 0x0C]   2F ret
Bytes sample_code() {
    return {0x68, 0x00, 0x00, 0x00, 0x00, 0x68, 0x18, 0x00, 0x00, 0x00, 0xDD, 0x05, 0x19, 0x00, 0x00, 0x00,
            0xA3, 0x00, 0x00, 0x00, 0x00, 0x68, 0x01, 0x00, 0x01, 0x52, 0xB8, 0x01, 0x00, 0x00, 0x00, 0x68,
            0x03, 0x00, 0x01, 0x00, 0x68, 0x24, 0x00, 0x00, 0x00, 0xFF, 0x25, 0x0C, 0x00, 0x00, 0x00, 0xC3};
}

std::vector<Relocation> sample_relocations() {
    return {{RelocKind::Const, 0x01}, {RelocKind::Const, 0x06}, {RelocKind::Const, 0x0C},
            {RelocKind::Var, 0x11},   {RelocKind::Code, 0x25},  {RelocKind::Service, 0x2B}};
}

Bytes sample_constants() {
    ConstantPool pool;
    pool.add_text("http://bbs.example.com/");  // 0
    pool.add_text("");                         // 0x18
    pool.add_double(2.0);                      // 0x19
    pool.add_text("Brindle");                  // 0x21
    return pool.data();
}

// The parts of hand_built_image(): a window, a tab control with two pages, an edit box, a radio
// box and a menu.
ImageParts hand_parts() {
    ImageParts p;
    p.libraries = {{"rtcore", kKernelId, "4", "6", kCoreGbk}, {"uikit2", kUikitId, "1", "2", "ui"}};
    p.const_data = sample_constants();
    p.code = sample_code();
    p.relocations = sample_relocations();
    p.var_size = 4;
    p.reference_lists = {{{0x16}, {}, {0x1B}, {0x20}}};
    p.entry_offset = kEntry;

    FormBuilder b;
    b.add_window(kMainWindow, kWindowElement, kUnit, {100, 50, 640, 480}, "Brindle");
    Element* window = b.element(kMainWindow, kWindowElement);
    window->properties.picture = tiny_ico();
    must(b.bind(kMainWindow, kWindowElement, abi::event::kPrincipal, kClickRoutine));
    must(b.bind(kMainWindow, kWindowElement, kTrayEvent, 0x2F));
    Element* tab = must(b.add_control(kMainWindow, kTab, kind::kTabControl, kTabNameGbk, {8, 8, 600, 400}));
    tab->properties.style.assign(0x1C, 0);
    tab->properties.items = {"P0", "P1"};
    Element* edit = must(b.add_control(kMainWindow, kEdit, kind::kEditBox, "edit", {-72, 10, 100, 20}, kTab, false));
    set_multiline(kind::kEditBox, edit->properties, true);
    edit->properties.text = "a\r\nb";
    must(b.next_page(kMainWindow, kTab));
    Element* radio = must(b.add_control(kMainWindow, kRadio, kind::kRadioBox, "radio", {10, 40, 80, 20}, kTab));
    set_checked(kind::kRadioBox, radio->properties, true);
    radio->properties.caption = "R";
    must(b.bind(kMainWindow, kRadio, abi::event::kPrincipal, kClickRoutine));
    must(b.add_menu_item(kMainWindow, kMenuTitle, 0, "menu"));
    must(b.add_menu_item(kMainWindow, kMenuItem, 1, "close", 0x2F));
    p.form = must(b.finish());
    return p;
}

}  // namespace

Bytes tiny_gif() {
    return {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x2C, 0, 0, 0, 0,
            1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0, 0x3B};
}

Bytes tiny_ico() {
    Bytes ico = {0, 0, 1, 0, 1, 0, 1, 1, 0, 0, 1, 0, 32, 0, 0x30, 0, 0, 0, 0x16, 0, 0, 0};
    ico.resize(ico.size() + 0x30, 0);
    return ico;
}

ImageParts sample_parts() {
    ImageParts p = hand_parts();
    FormBuilder b;
    b.add_window(kMainWindow, kWindowElement, kUnit, {100, 50, 640, 480}, "Brindle");
    must(b.bind(kMainWindow, kWindowElement, abi::event::kPrincipal, kClickRoutine));
    must(b.bind(kMainWindow, kWindowElement, kTrayEvent, 0x2F));
    b.element(kMainWindow, kWindowElement)->properties.picture = tiny_ico();

    Element* tab = must(b.add_control(kMainWindow, kTab, kind::kTabControl, kTabNameGbk, {8, 8, 600, 400}));
    tab->properties.items = {"\xCA\xD7\xD2\xB3", "empty", "third"};  // 首页
    Element* edit = must(b.add_control(kMainWindow, kEdit, kind::kEditBox, "edit", {4, 4, 300, 200}, kTab));
    edit->properties.text = "{dede:arclist}\r\n{/dede:arclist}";
    set_multiline(kind::kEditBox, edit->properties, true);
    must(b.next_page(kMainWindow, kTab));
    must(b.next_page(kMainWindow, kTab));  // page 1 stays empty
    Element* group = must(b.add_control(kMainWindow, kGroup, kind::kGroupBox, "group", {4, 4, 200, 100}, kTab));
    group->properties.caption = "frame";
    Element* radio = must(b.add_control(kMainWindow, kRadio, kind::kRadioBox, "radio", {4, 20, 80, 20}, kGroup));
    radio->properties.caption = "R";
    set_checked(kind::kRadioBox, radio->properties, true);
    must(b.bind(kMainWindow, kRadio, abi::event::kPrincipal, kClickRoutine));
    Element* button = must(b.add_control(kMainWindow, kButton, kind::kButton, "button", {220, 4, 60, 24}, kTab));
    button->properties.caption = "\xB8\xB4 \xD6\xC6";  // 复 制
    must(b.bind(kMainWindow, kButton, abi::event::kPrincipal, kClickRoutine));

    Element* label = must(b.add_control(kMainWindow, kLabel, kind::kLabel, "label", {8, 420, 100, 16}));
    label->properties.caption = "label";
    set_text_colour(kind::kLabel, label->properties, 0x0000FF);
    Element* store = must(b.add_control(kMainWindow, kStore, kind::kEditBox, "store", {-72, 0, 10, 10}, 0, false));
    store->properties.text = "line 1\r\nline 2";
    Element* combo = must(b.add_control(kMainWindow, 0x16010030, kind::kComboBox, "combo", {8, 440, 100, 20}));
    combo->properties.items = {"a", "", "c"};
    must(b.bind(kMainWindow, 0x16010030, abi::event::kPrincipal, 0x2F));
    Element* link = must(b.add_control(kMainWindow, 0x16010031, kind::kHyperlinkBox, "link", {120, 440, 100, 20}));
    link->properties.caption = "forum";
    link->properties.url = "http://bbs.example.com/";
    Element* pic = must(b.add_control(kMainWindow, 0x16010032, kind::kPictureBox, "pic", {230, 440, 20, 20}));
    pic->properties.picture = tiny_gif();
    must(b.add_control(kMainWindow, 0x16010033, kind::kPictureBox, "empty_pic", {260, 440, 20, 20}))->properties =
        Properties{};
    Element* image_button = must(b.add_control(kMainWindow, 0x16010034, kind::kImageButton, "imgbtn", {290, 440, 200, 60}));
    image_button->properties.picture = tiny_gif();
    image_button->properties.caption = "go";
    must(b.bind(kMainWindow, 0x16010034, abi::event::kPrincipal, kClickRoutine));
    Element* web = must(b.add_control(kMainWindow, 0x16010035, kind::kWebBrowserBox, "web", {0, 0, 10, 10}, 0, false));
    web->properties.url = "about:blank";
    must(b.add_control(kMainWindow, 0x16010353, kind::kPictureBox, "last", {0, 0, 1, 1}, 0, false));
    must(b.add_menu_item(kMainWindow, kMenuTitle, 0, "menu"));
    must(b.add_menu_item(kMainWindow, kMenuItem, 1, "\xCF\xD4\xCA\xBE", 0x2F));  // 显示
    p.form = must(b.finish());
    return p;
}

Bytes sample_image() { return must(write_image(sample_parts())); }

Bytes hand_built_image() {
    ByteWriter w;
    // Header; the offsets are patched once the sections are laid down.
    w.u32(0x00004A57);
    w.zeros(32);
    w.u32(0);            // 0x24 first_section_offset
    w.u32(1);            // 0x28
    w.u32(3);            // 0x2C
    w.u32(0);            // 0x30
    w.u32(0x0001014E);   // 0x34 highest_serial: the menu item 0x2601014E
    w.u32(0);            // 0x38
    w.zeros(4 * 6);      // 0x3C entry, 0x40..0x50 section headers
    w.u32(0);            // 0x54
    // Library table.
    w.raw(std::string_view("rtcore\r0123456789abcdef0123456789abcdef\r4\r6\r\xBA\xCB\xD0\xC4"));
    w.u8(0);
    w.raw(std::string_view("uikit2\r0123456789ABCDEF0123456789ABCDEf\r1\r2\rui"));
    w.u8(0);
    w.u8(0);
    const uint32_t first = static_cast<uint32_t>(w.size());

    auto section = [&w](const char* name, uint32_t flags, uint32_t memory, uint32_t stored, uint32_t relocs,
                        bool last) {
        const uint32_t at = static_cast<uint32_t>(w.size());
        const uint32_t length = 56 + 4 * relocs;
        w.u32(length);
        w.u32(last ? 0xFFFFFFFF : at + length + stored);
        w.u32(flags);
        char padded[20] = {};
        std::snprintf(padded, sizeof padded, "%s", name);
        w.raw(std::string_view(padded, 20));
        w.u32(0);
        w.u32(memory);
        w.u32(stored);
        w.u32(stored ? at + length : 0xFFFFFFFF);
        w.u32(relocs);
        w.u32(0);
        return at;
    };

    // const: the forum address at 0, the empty text at 0x18, 2.0 at the odd offset 0x19, "Brindle" at 0x21.
    const uint32_t const_at = section("const", 1, 41, 41, 0, false);
    w.raw(std::string_view("http://bbs.example.com/\0\0", 25));
    w.raw(ByteView(Bytes{0, 0, 0, 0, 0, 0, 0, 0x40}));
    w.raw(std::string_view("Brindle\0", 8));

    // form
    ByteWriter f;
    f.u32(8);
    f.u32(0x52010001);
    f.u32(0);  // window_word
    ByteWriter records;
    std::vector<uint32_t> offsets;
    auto head = [](ByteWriter& r, uint32_t kind_code, std::string_view name) {
        r.u32(kind_code);
        r.zeros(20);
        r.cstring(name);
        r.cstring("");
    };
    auto control = [](ByteWriter& r, int32_t l, int32_t t, int32_t wd, int32_t ht, uint32_t parent,
                      std::vector<uint32_t> children, uint32_t flags, std::vector<std::pair<int32_t, uint32_t>> events) {
        r.u32(0);
        r.i32(l), r.i32(t), r.i32(wd), r.i32(ht);
        r.u32(0);
        r.u32(parent);
        r.u32(static_cast<uint32_t>(children.size()));
        for (uint32_t c : children) r.u32(c);
        r.u32(4);
        r.u32(0);  // cursor
        r.u8(0);   // tag
        r.u32(0);
        r.u32(flags);
        r.u32(0);
        r.u32(static_cast<uint32_t>(events.size()));
        for (auto [index, offset] : events) r.i32(index), r.u32(offset);
        r.zeros(20);
    };
    auto add_record = [&](const ByteWriter& body) {
        offsets.push_back(static_cast<uint32_t>(records.size()));
        records.u32(static_cast<uint32_t>(body.size()));
        records.raw(ByteView(body.bytes()));
    };
    {  // window element
        ByteWriter r;
        head(r, 0x00010001, "");
        control(r, 100, 50, 640, 480, 0, {}, 1, {{0, 0x24}, {9, 0x2F}});
        r.u32(5);
        for (uint32_t v : {2u, 1u, 0xFF000000u, 0u, 1u, 1u, 1u, 1u, 0u, 0u, 1u, 0u, 0u, 1u, 0u, 0u, 0u, 0u, 0u}) r.u32(v);
        r.counted(ByteView(tiny_ico()));
        r.u32(0);  // no background picture
        r.counted(std::string_view("Brindle"));
        r.u32(0);
        add_record(r);
    }
    {  // tab control: page 0 holds the edit box, page 1 the radio box
        ByteWriter r;
        head(r, 0x00010015, "\xD1\xA1\xD4\xF1\xBC\xD0" "1");
        control(r, 8, 8, 600, 400, 0, {0x16010010, 0, 0x16010012}, 1, {});
        r.u32(3);
        r.zeros(0x1C);
        r.u16(2);
        r.counted(std::string_view("P0"));
        r.counted(std::string_view("P1"));
        add_record(r);
    }
    {  // edit box: hidden, at a negative left, two lines of text at blob offset 0x46
        ByteWriter r;
        head(r, 0x00010005, "edit");
        control(r, -72, 10, 100, 20, 0x16010002, {}, 4, {});
        r.u32(2);
        r.u32(1);         // 0x04
        r.u32(0);         // 0x08
        r.u32(0xFFFFFF);  // 0x0C background
        r.zeros(8);       // 0x10
        r.u32(1);         // 0x18 multi-line
        r.zeros(0x46 - 0x1C);
        r.counted(std::string_view("a\r\nb"));
        r.zeros(8);
        add_record(r);
    }
    {  // radio box, checked
        ByteWriter r;
        head(r, 0x0001000D, "radio");
        control(r, 10, 40, 80, 20, 0x16010002, {}, 5, {{0, 0x24}});
        r.u32(1);
        r.zeros(0x20 - 4);
        r.u32(1);  // 0x20 checked
        r.zeros(0x2C - 0x24);
        r.counted(std::string_view("R"));
        add_record(r);
    }
    for (auto [id_level, caption, click] : {std::tuple{0u, "menu", 0xFFFFFFFFu}, std::tuple{1u, "close", 0x2Fu}}) {
        ByteWriter r;
        head(r, 0x00010003, "");
        r.u32(0);
        r.u32(id_level);
        r.u32(0);
        r.cstring(caption);
        r.u32(click);
        r.zeros(16);
        add_record(r);
    }
    const uint32_t ids[] = {0x06010000, 0x16010002, 0x16010010, 0x16010012, 0x2601014D, 0x2601014E};
    f.u32(0);           // block_word
    f.u32(0x19010041);  // unit
    f.u32(0), f.u32(0);
    f.u32(6);
    f.u32(static_cast<uint32_t>(8 * 6 + records.size()));
    for (uint32_t id : ids) f.u32(id);
    for (uint32_t o : offsets) f.u32(o);
    f.raw(ByteView(records.bytes()));
    const uint32_t form_size = static_cast<uint32_t>(f.size());
    const uint32_t form_at = section("form", 1, form_size, form_size, 0, false);
    w.raw(ByteView(f.bytes()));

    const uint32_t help_at = section("help", 1, 52, 52, 0, false);
    w.zeros(52);

    const Bytes code = sample_code();
    const uint32_t code_at = section("code", 5, static_cast<uint32_t>(code.size()), static_cast<uint32_t>(code.size()), 6, false);
    for (uint32_t record : {0x01u * 8 + 1, 0x06u * 8 + 1, 0x0Cu * 8 + 1, 0x11u * 8 + 2, 0x25u * 8 + 3, 0x2Bu * 8 + 0})
        w.u32(record);
    const uint32_t code_data = static_cast<uint32_t>(w.size());
    w.raw(ByteView(code));

    const uint32_t var_at = section("var", 0x13, 4, 0, 0, false);
    // The lists take 28 bytes; the stated size leaves out the last entry, which a reader still finds.
    section("@reloc1", 1, 24, 24, 0, true);
    for (uint32_t v : {1u, 0x16u, 0u, 1u, 0x1Bu, 1u, 0x20u}) w.u32(v);

    w.patch_u32(0x24, first);
    w.patch_u32(0x3C, code_data + kEntry);
    w.patch_u32(0x40, const_at);
    w.patch_u32(0x44, form_at);
    w.patch_u32(0x48, help_at);
    w.patch_u32(0x4C, code_at);
    w.patch_u32(0x50, var_at);
    w.patch_u32(0x54, first);
    return w.bytes();
}

ImageParts hand_built_parts() { return hand_parts(); }

}  // namespace brindle::image::testing
