#include "image/property_blobs.h"

#include <array>
#include <initializer_list>
#include <limits>

#include "common/try.h"
#include "image/kernel_abi.h"
#include "image/layout.h"

namespace brindle::image {
namespace {

namespace kind = abi::kind;

// The variable fields of a blob, in stored order.
enum class Field { Caption, Text, Items, Url, Picture, Background, MiddleWord, Middle16 };

struct BlobLayout {
    uint32_t kind;
    uint32_t version;
    uint32_t first_variable;  // blob offset of the first variable field; style bytes are 4 up to here
    std::initializer_list<Field> fields;
    size_t default_tail;
};

constexpr uint32_t kVersionLength = 4;

const BlobLayout kLayouts[] = {
    {kind::kWindow, 5, 0x50, {Field::Picture, Field::Background, Field::Caption}, 4},
    {kind::kLabel, 2, 0x4C, {Field::Caption}, 8},
    {kind::kEditBox, 2, 0x46, {Field::Text}, 8},
    {kind::kButton, 1, 0x18, {Field::Caption}, 0},
    {kind::kRadioBox, 1, 0x2C, {Field::Caption}, 0},
    {kind::kGroupBox, 1, 0x14, {Field::Caption}, 0},
    {kind::kComboBox, 3, 0x34, {Field::Items}, 12},
    {kind::kTabControl, 3, 0x20, {Field::Items}, 0},
    {kind::kHyperlinkBox, 1, 0x20, {Field::Caption, Field::MiddleWord, Field::Url}, 0},
    {kind::kPictureBox, 2, 0x14, {Field::Picture}, 8},
    {kind::kImageButton, 2, 0x50, {Field::Picture, Field::Middle16, Field::Caption}, 8},
    {kind::kWebBrowserBox, 1, 0x10, {Field::Url}, 0},
};

const BlobLayout* layout_of(uint32_t k) {
    for (const BlobLayout& l : kLayouts)
        if (l.kind == k) return &l;
    return nullptr;
}

// Named style words: (kind, blob offset).
struct NamedWord {
    uint32_t kind;
    uint32_t offset;
};
constexpr NamedWord kTextColour{kind::kLabel, 0x1C};
constexpr NamedWord kEditBackground{kind::kEditBox, layout::edit_box::kBackground};
constexpr NamedWord kComboBackground{kind::kComboBox, 0x20};
constexpr NamedWord kMultiline{kind::kEditBox, layout::edit_box::kMultiline};
constexpr NamedWord kChecked{kind::kRadioBox, 0x20};

std::optional<uint32_t> get_word(const NamedWord& w, uint32_t k, const Properties& p) {
    if (k != w.kind || p.empty) return std::nullopt;
    size_t at = w.offset - kVersionLength;
    if (p.style.size() < at + 4) return std::nullopt;
    return load_u32le(p.style.data() + at);
}

bool set_word(const NamedWord& w, uint32_t k, Properties& p, uint32_t value) {
    if (k != w.kind || p.empty) return false;
    size_t at = w.offset - kVersionLength;
    if (p.style.size() < at + 4) return false;
    store_u32le(p.style.data() + at, value);
    return true;
}

Bytes words(std::initializer_list<std::pair<uint32_t, uint32_t>> at_value, uint32_t first_variable) {
    Bytes style(first_variable - kVersionLength, 0);
    for (auto [offset, value] : at_value) store_u32le(style.data() + offset - kVersionLength, value);
    return style;
}

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kFrameColour = 0xFF000000;

}  // namespace

bool kind_has_blob(uint32_t k) { return layout_of(k) != nullptr; }
bool is_known_kind(uint32_t k) { return k == kind::kMenuItem || kind_has_blob(k); }
std::optional<uint32_t> blob_version(uint32_t k) {
    if (const BlobLayout* l = layout_of(k)) return l->version;
    return std::nullopt;
}

Result<Properties> decode_properties(uint32_t k, ByteView blob, uint64_t base_offset) {
    Properties p;
    if (blob.empty()) return p;
    const BlobLayout* l = layout_of(k);
    if (!l) return fail("this kind carries no property blob", "properties", base_offset);
    ByteCursor c(blob, 0, base_offset);
    p.empty = false;
    BRINDLE_TRY(p.version, c.u32("property blob version"));
    if (p.version != l->version)
        return fail("property blob version " + std::to_string(p.version) + " does not match the kind's version " +
                        std::to_string(l->version),
                    "property blob version", base_offset);
    BRINDLE_TRY(ByteView style, c.bytes(l->first_variable - kVersionLength, "property style words"));
    p.style.assign(style.begin(), style.end());
    for (Field f : l->fields) {
        switch (f) {
            case Field::Caption: { BRINDLE_TRY(p.caption, c.counted_text("caption")); break; }
            case Field::Text: { BRINDLE_TRY(p.text, c.counted_text("text")); break; }
            case Field::Url: { BRINDLE_TRY(p.url, c.counted_text("web address")); break; }
            case Field::Picture: { BRINDLE_TRY(p.picture, c.counted_bytes("picture")); break; }
            case Field::Background: { BRINDLE_TRY(p.background, c.counted_bytes("background picture")); break; }
            case Field::Items: {
                BRINDLE_TRY(uint16_t count, c.u16("item count"));
                for (uint16_t i = 0; i < count; ++i) {
                    BRINDLE_TRY(p.items.emplace_back(), c.counted_text("item"));
                }
                break;
            }
            case Field::MiddleWord: {
                BRINDLE_TRY(ByteView v, c.bytes(4, "word after the caption"));
                p.middle.assign(v.begin(), v.end());
                break;
            }
            case Field::Middle16: {
                BRINDLE_TRY(ByteView v, c.bytes(16, "bytes after the picture"));
                p.middle.assign(v.begin(), v.end());
                break;
            }
        }
    }
    BRINDLE_TRY(ByteView tail, c.bytes(c.remaining(), "property tail"));
    p.tail.assign(tail.begin(), tail.end());
    return p;
}

Result<Bytes> encode_properties(uint32_t k, const Properties& p) {
    if (p.empty) return Bytes{};
    const BlobLayout* l = layout_of(k);
    if (!l) return fail("this kind carries no property blob", "properties");
    if (p.version != l->version) return fail("property blob version does not match the kind", "property blob version");
    if (p.style.size() != l->first_variable - kVersionLength)
        return fail("style bytes must be " + std::to_string(l->first_variable - kVersionLength) + " bytes long",
                    "property style words");
    auto fits = [](size_t n) { return n <= std::numeric_limits<uint32_t>::max(); };
    ByteWriter w;
    w.u32(p.version);
    w.raw(p.style);
    for (Field f : l->fields) {
        switch (f) {
            case Field::Caption:
                if (!fits(p.caption.size())) return fail("caption too long", "caption");
                w.counted(std::string_view(p.caption));
                break;
            case Field::Text:
                if (!fits(p.text.size())) return fail("text too long", "text");
                w.counted(std::string_view(p.text));
                break;
            case Field::Url:
                if (!fits(p.url.size())) return fail("web address too long", "web address");
                w.counted(std::string_view(p.url));
                break;
            case Field::Picture:
                if (!fits(p.picture.size())) return fail("picture too long", "picture");
                w.counted(ByteView(p.picture));
                break;
            case Field::Background:
                if (!fits(p.background.size())) return fail("background picture too long", "background picture");
                w.counted(ByteView(p.background));
                break;
            case Field::Items:
                if (p.items.size() > std::numeric_limits<uint16_t>::max())
                    return fail("more than 65535 items", "item count");
                w.u16(static_cast<uint16_t>(p.items.size()));
                for (const std::string& item : p.items) {
                    if (!fits(item.size())) return fail("item too long", "item");
                    w.counted(std::string_view(item));
                }
                break;
            case Field::MiddleWord:
            case Field::Middle16: {
                size_t want = f == Field::MiddleWord ? 4 : 16;
                if (p.middle.size() != want)
                    return fail("middle bytes must be " + std::to_string(want) + " bytes long", "properties");
                w.raw(ByteView(p.middle));
                break;
            }
        }
    }
    w.raw(ByteView(p.tail));
    return std::move(w.bytes());
}

Properties default_properties(uint32_t k) {
    Properties p;
    const BlobLayout* l = layout_of(k);
    if (!l) return p;
    p.empty = false;
    p.version = l->version;
    p.tail.assign(l->default_tail, 0);
    const uint32_t end = l->first_variable;
    switch (k) {
        case kind::kWindow: {
            static constexpr std::array<uint32_t, 19> kWindowStyle{2, 1, 0xFF000000, 0, 1, 1, 1, 1, 0, 0,
                                                                    1, 0, 0, 1, 0, 0, 0, 0, 0};
            p.style.resize(end - kVersionLength);
            for (size_t i = 0; i < kWindowStyle.size(); ++i) store_u32le(p.style.data() + 4 * i, kWindowStyle[i]);
            break;
        }
        case kind::kEditBox:
            p.style = words({{layout::edit_box::kLayout, 1}, {layout::edit_box::kBackground, kWhite}}, end);
            break;
        case kind::kButton: p.style = words({{0x08, 1}, {0x0C, 1}}, end); break;
        case kind::kGroupBox: p.style = words({{0x0C, kFrameColour}}, end); break;
        case kind::kComboBox: p.style = words({{0x18, 1}, {0x20, kWhite}}, end); break;
        case kind::kImageButton:
            p.style = words({{0x10, 0xC0C0C0}, {0x14, 0xD8E9EC}, {0x18, 0xEBFCFF}}, end);
            p.middle.assign(16, 0);
            p.tail = {0, 0, 0, 0xFF, 0, 0, 0, 0};
            break;
        case kind::kHyperlinkBox:
            p.style = words({}, end);
            p.middle.assign(4, 0);
            break;
        default: p.style = words({}, end); break;
    }
    return p;
}

std::optional<uint32_t> text_colour(uint32_t k, const Properties& p) { return get_word(kTextColour, k, p); }
std::optional<uint32_t> background_colour(uint32_t k, const Properties& p) {
    return k == kind::kComboBox ? get_word(kComboBackground, k, p) : get_word(kEditBackground, k, p);
}
std::optional<bool> multiline(uint32_t k, const Properties& p) {
    auto v = get_word(kMultiline, k, p);
    if (!v) return std::nullopt;
    return *v != 0;
}
std::optional<bool> checked(uint32_t k, const Properties& p) {
    auto v = get_word(kChecked, k, p);
    if (!v) return std::nullopt;
    return *v != 0;
}
bool set_text_colour(uint32_t k, Properties& p, uint32_t colour) { return set_word(kTextColour, k, p, colour); }
bool set_background_colour(uint32_t k, Properties& p, uint32_t colour) {
    return k == kind::kComboBox ? set_word(kComboBackground, k, p, colour) : set_word(kEditBackground, k, p, colour);
}
bool set_multiline(uint32_t k, Properties& p, bool on) { return set_word(kMultiline, k, p, on ? 1 : 0); }
bool set_checked(uint32_t k, Properties& p, bool on) { return set_word(kChecked, k, p, on ? 1 : 0); }

}  // namespace brindle::image
