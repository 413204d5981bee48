#include "image/inspect/dump.h"

#include <cstdio>
#include <string>

#include "common/gbk.h"
#include "common/hex.h"
#include "image/inspect/disassembly.h"
#include "image/inspect/json_writer.h"
#include "image/kernel_abi.h"
#include "image/property_blobs.h"

namespace brindle::inspect {
namespace {

namespace kind = abi::kind;
using image::Element;
using image::Image;
using image::Properties;

// Identifiers with all eight digits: the top byte says what they are.
// Decimal version fields as numbers when they fit, else as written.
void version_field(JsonWriter& j, std::string_view name, const std::string& digits) {
    if (!digits.empty() && digits.size() <= 18)
        j.field(name, static_cast<int64_t>(std::stoll(digits)));
    else
        j.field(name, gbk_to_utf8(digits));
}

void picture(JsonWriter& j, std::string_view name, const Bytes& bytes) {
    j.key(name).begin_object();
    j.field("format", picture_format(bytes));
    j.field("bytes", static_cast<int64_t>(bytes.size()));
    j.end_object();
}

void texts(JsonWriter& j, std::string_view name, const std::vector<std::string>& items) {
    j.key(name).begin_array();
    for (const std::string& item : items) j.string(gbk_to_utf8(item));
    j.end_array();
}

void properties(JsonWriter& j, uint32_t k, const Properties& p) {
    j.key("properties").begin_object();
    if (!p.empty) {
        j.field("version", p.version);
        switch (k) {
            case kind::kWindow:
                picture(j, "icon", p.picture);
                picture(j, "background", p.background);
                j.field("caption", gbk_to_utf8(p.caption));
                break;
            case kind::kLabel:
                j.field("caption", gbk_to_utf8(p.caption));
                if (auto c = image::text_colour(k, p)) j.field("text_colour", *c);
                break;
            case kind::kEditBox:
                j.field("text", gbk_to_utf8(p.text));
                if (auto m = image::multiline(k, p)) j.key("multiline").boolean(*m);
                if (auto c = image::background_colour(k, p)) j.field("background_colour", *c);
                break;
            case kind::kButton:
            case kind::kGroupBox: j.field("caption", gbk_to_utf8(p.caption)); break;
            case kind::kRadioBox:
                j.field("caption", gbk_to_utf8(p.caption));
                if (auto c = image::checked(k, p)) j.key("checked").boolean(*c);
                break;
            case kind::kComboBox:
                texts(j, "items", p.items);
                if (auto c = image::background_colour(k, p)) j.field("background_colour", *c);
                break;
            case kind::kTabControl: texts(j, "pages", p.items); break;
            case kind::kHyperlinkBox:
                j.field("caption", gbk_to_utf8(p.caption));
                j.field("url", gbk_to_utf8(p.url));
                break;
            case kind::kPictureBox: picture(j, "picture", p.picture); break;
            case kind::kImageButton:
                picture(j, "picture", p.picture);
                j.field("caption", gbk_to_utf8(p.caption));
                break;
            case kind::kWebBrowserBox: j.field("url", gbk_to_utf8(p.url)); break;
        }
    }
    j.end_object();
}

void element(JsonWriter& j, const image::FormWindow& w, const Element& e, const std::map<uint32_t, uint32_t>& pages) {
    j.begin_object();
    j.field("id", e.id);
    j.field("kind", e.kind);
    j.field("name", gbk_to_utf8(e.name));
    if (e.is_menu_item()) {
        j.field("level", e.level);
        j.field("caption", gbk_to_utf8(e.caption));
        j.field("click_offset", e.click_offset);
        j.end_object();
        return;
    }
    j.field("left", e.left).field("top", e.top).field("width", e.width).field("height", e.height);
    j.field("parent", e.parent_id);
    j.key("page");
    if (auto it = pages.find(e.id); it != pages.end())
        j.number(it->second);
    else
        j.null();
    j.key("children").begin_array();
    for (uint32_t child : e.children) j.number(child);
    j.end_array();
    j.field("flags", e.flags);
    j.key("visible").boolean(e.visible());
    j.key("events").begin_array();
    for (const image::EventBinding& b : e.events)
        j.begin_object().field("index", b.index).field("code_offset", b.code_offset).end_object();
    j.end_array();
    properties(j, e.kind, e.properties);
    j.end_object();
}

}  // namespace

std::string_view picture_format(ByteView p) {
    if (p.size() >= 4 && p[0] == 'G' && p[1] == 'I' && p[2] == 'F' && p[3] == '8') return "GIF";
    if (p.size() >= 4 && p[0] == 0 && p[1] == 0 && p[2] == 1 && p[3] == 0) return "ICO";
    return "unknown";
}

std::string_view kind_name(uint32_t k) {
    std::string_view name = kind::name(k);
    return name.empty() ? "unknown" : name;
}

void print_json(const Image& image, std::ostream& out) {
    JsonWriter j(out);
    const image::ImageHeader& h = image.header;
    j.begin_object();
    j.key("header").begin_object();
    j.field("image_magic", h.image_magic);
    j.field("first_section_offset", h.first_section_offset);
    j.field("highest_serial", h.highest_serial);
    j.field("entry_offset", h.entry_offset);
    j.field("const_header_offset", h.const_header_offset);
    j.field("form_header_offset", h.form_header_offset);
    j.field("help_header_offset", h.help_header_offset);
    j.field("code_header_offset", h.code_header_offset);
    j.field("var_header_offset", h.var_header_offset);
    j.field("0x28", h.unnamed_28).field("0x2C", h.unnamed_2c).field("0x30", h.unnamed_30);
    j.field("0x38", h.unnamed_38).field("0x54", h.unnamed_54);
    j.end_object();

    j.key("libraries").begin_array();
    for (size_t i = 0; i < image.libraries.size(); ++i) {
        const image::LibraryRecord& r = image.libraries[i];
        j.begin_object().field("number", static_cast<int64_t>(i));
        j.field("name", gbk_to_utf8(r.name)).field("id", gbk_to_utf8(r.id));
        version_field(j, "major", r.major);
        version_field(j, "minor", r.minor);
        j.field("description", gbk_to_utf8(r.description)).end_object();
    }
    j.end_array();

    j.key("sections").begin_array();
    for (const image::Section& s : image.sections) {
        j.begin_object().field("name", gbk_to_utf8(s.name));
        j.field("header_offset", s.header_offset).field("header_length", s.header_length);
        j.field("next_header_offset", s.next_header_offset).field("flags", s.flags);
        j.field("memory_size", s.memory_size).field("stored_size", s.stored_size);
        j.field("data_offset", s.data_offset).field("reloc_count", s.reloc_count).end_object();
    }
    j.end_array();

    j.key("relocations").begin_array();
    if (const image::Section* code = image.code_section())
        for (const image::Relocation& r : code->relocations)
            j.begin_object().field("kind", static_cast<int64_t>(r.kind)).field("offset", r.offset).end_object();
    j.end_array();

    j.key("reference_lists").begin_array();
    for (const auto& list : image.reference_lists) {
        j.begin_array();
        for (uint32_t offset : list) j.number(offset);
        j.end_array();
    }
    j.end_array();

    j.key("windows").begin_array();
    for (const image::FormWindow& w : image.form.windows) {
        const auto pages = w.pages();
        j.begin_object().field("id", w.id).field("unit_id", w.unit_id);
        j.key("elements").begin_array();
        for (const Element& e : w.elements) element(j, w, e, pages);
        j.end_array().end_object();
    }
    j.end_array();
    j.end_object();
    out << '\n';
}

void print_listing(const Image& image, std::ostream& out) {
    const image::ImageHeader& h = image.header;
    out << "image: " << image.bytes.size() << " bytes, magic " << hex(h.image_magic) << "\n";
    out << "  first section " << hex(h.first_section_offset) << ", highest serial " << hex(h.highest_serial)
        << ", entry " << hex(h.entry_offset) << "\n";
    out << "  header values 0x28=" << hex(h.unnamed_28) << " 0x2C=" << hex(h.unnamed_2c)
        << " 0x30=" << hex(h.unnamed_30) << " 0x38=" << hex(h.unnamed_38) << " 0x54=" << hex(h.unnamed_54) << "\n";
    out << "libraries:\n";
    for (size_t i = 0; i < image.libraries.size(); ++i) {
        const image::LibraryRecord& r = image.libraries[i];
        out << "  " << i << "  " << r.name << " " << r.major << "." << r.minor << "  " << r.id << "  "
            << gbk_to_utf8(r.description) << "\n";
    }
    out << "sections:\n";
    for (const image::Section& s : image.sections)
        out << "  " << s.name << "  header " << hex(s.header_offset) << " length " << hex(s.header_length) << " flags "
            << hex(s.flags) << " memory " << hex(s.memory_size) << " stored " << hex(s.stored_size) << " at "
            << hex(s.data_offset) << " relocations " << s.reloc_count << " next " << hex(s.next_header_offset) << "\n";
    if (const image::Section* code = image.code_section()) {
        static constexpr const char* kKinds[] = {"service", "const", "var", "code"};
        out << "relocations of code:\n";
        for (const image::Relocation& r : code->relocations)
            out << "  " << hex(r.offset) << "  " << kKinds[static_cast<int>(r.kind)] << "\n";
    }
    print_disassembly(image, out);
    static constexpr const char* kLists[] = {"identifiers", "unused", "library numbers", "kind codes"};
    out << "reference lists (" << image.reference_lists_size << " bytes):\n";
    for (size_t i = 0; i < image.reference_lists.size(); ++i) {
        out << "  " << kLists[i] << ":";
        for (uint32_t offset : image.reference_lists[i]) out << " " << hex(offset);
        out << "\n";
    }
    for (const image::FormWindow& w : image.form.windows) {
        const auto pages = w.pages();
        out << "window " << hex_id(w.id) << " unit " << hex_id(w.unit_id) << ", " << w.elements.size() << " elements\n";
        for (const Element& e : w.elements) {
            out << "  " << hex_id(e.id) << " " << kind_name(e.kind);
            if (!e.name.empty()) out << " " << gbk_to_utf8(e.name);
            if (e.is_menu_item()) {
                out << "  level " << e.level << " \"" << gbk_to_utf8(e.caption) << "\"";
                if (e.click_offset != image::kNoRoutine) out << " click " << hex(e.click_offset);
                out << "\n";
                continue;
            }
            out << "  (" << e.left << ", " << e.top << ") " << e.width << "x" << e.height << " flags " << e.flags;
            if (e.parent_id) out << " parent " << hex_id(e.parent_id);
            if (auto it = pages.find(e.id); it != pages.end()) out << " page " << it->second;
            for (const image::EventBinding& b : e.events) out << " event " << b.index << "->" << hex(b.code_offset);
            const Properties& p = e.properties;
            if (!p.caption.empty()) out << " caption \"" << gbk_to_utf8(p.caption) << "\"";
            if (!p.text.empty()) out << " text " << p.text.size() << " bytes";
            if (!p.items.empty()) out << " " << p.items.size() << " items";
            if (!p.url.empty()) out << " url " << gbk_to_utf8(p.url);
            if (!p.picture.empty())
                out << " picture " << picture_format(p.picture) << " " << p.picture.size() << " bytes";
            out << "\n";
        }
    }
}

}  // namespace brindle::inspect
