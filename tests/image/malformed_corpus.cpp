#include "malformed_corpus.h"

#include <cstring>
#include <functional>
#include <stdexcept>

#include "image/image_reader.h"
#include "image/image_writer.h"
#include "sample_image.h"

namespace brindle::image::testing {
namespace {

// Where things lie in hand_built_image().
struct Map {
    Bytes image;
    uint32_t const_header, form_header, help_header, code_header, var_header, lists_header;
    uint32_t const_data, form_data, code_data, lists_data;
    uint32_t records;  // the window block's record area
    uint32_t record(size_t i) const { return records + load_u32le(image.data() + form_data + 60 + 4 * i); }
};

Map locate() {
    Map m;
    m.image = hand_built_image();
    auto opened = open_image(m.image);
    if (!opened) throw std::runtime_error(opened.error().describe());
    const Image& im = *opened;
    m.const_header = im.header.const_header_offset;
    m.form_header = im.header.form_header_offset;
    m.help_header = im.header.help_header_offset;
    m.code_header = im.header.code_header_offset;
    m.var_header = im.header.var_header_offset;
    m.lists_header = im.reference_lists_section()->header_offset;
    m.const_data = im.const_section()->data_offset;
    m.form_data = im.form_section()->data_offset;
    m.code_data = im.code_section()->data_offset;
    m.lists_data = im.reference_lists_section()->data_offset;
    m.records = m.form_data + 84;
    return m;
}

// Element records of the hand-built form, in list order.
enum Record { kWindowRecord, kTabRecord, kEditRecord, kRadioRecord, kTitleRecord, kItemRecord };
// Offset of the control layout after the head (length, kind, 20 reserved, name, comment).
uint32_t after_head(const Map& m, Record r, size_t name_length) { return m.record(r) + 28 + uint32_t(name_length) + 2; }

// The image with `n` zero bytes added at the end of the form data, every later offset moved along.
Bytes grow_form(const Map& m, uint32_t n) {
    Bytes b = m.image;
    const uint32_t form_end = m.form_data + load_u32le(b.data() + m.form_header + 0x28);
    auto bump = [&](uint32_t at) {
        const uint32_t v = load_u32le(b.data() + at);
        if (v != 0xFFFFFFFF && v >= form_end) store_u32le(b.data() + at, v + n);
    };
    for (uint32_t field : {0x3Cu, 0x48u, 0x4Cu, 0x50u}) bump(field);
    for (uint32_t header : {m.const_header, m.form_header, m.help_header, m.code_header, m.var_header, m.lists_header}) {
        bump(header + 0x04);
        bump(header + 0x2C);
    }
    for (uint32_t size_field : {0x24u, 0x28u})
        store_u32le(b.data() + m.form_header + size_field, load_u32le(b.data() + m.form_header + size_field) + n);
    b.insert(b.begin() + form_end, n, 0);
    return b;
}

}  // namespace

std::vector<MalformedCase> malformed_corpus() {
    const Map m = locate();
    std::vector<MalformedCase> cases;
    auto add = [&](std::string rule, std::function<void(Bytes&)> change, std::string field, uint64_t offset) {
        Bytes b = m.image;
        change(b);
        cases.push_back({std::move(rule), std::move(b), std::move(field), offset});
    };
    auto put = [](uint32_t at, uint32_t v) { return [at, v](Bytes& b) { store_u32le(b.data() + at, v); }; };
    const uint32_t code_records = m.code_header + 0x38;
    const uint32_t edit = after_head(m, kEditRecord, 4);
    const uint32_t radio = after_head(m, kRadioRecord, 5);
    const uint32_t title = after_head(m, kTitleRecord, 0);

    // Header and section chain.
    add("wrong magic", put(0, 0x4A58), "image_magic", 0);
    add("wrong magic with a broken chain", [&](Bytes& b) { store_u32le(b.data(), 0); store_u32le(b.data() + 0x24, 0xFFFFFF); },
        "image_magic", 0);
    add("reserved header bytes", [](Bytes& b) { b[0x10] = 1; }, "header reserved", 4);
    add("first section outside the image", put(0x24, uint32_t(m.image.size())), "first_section_offset", 0x24);
    add("chain revisits a header", put(m.lists_header + 4, m.const_header), "next_header_offset", m.const_header);
    add("next header outside the image", put(m.var_header + 4, uint32_t(m.image.size()) - 10), "section header",
        m.image.size() - 10);
    add("header length disagrees with the record count", put(m.code_header, 56), "header_length", m.code_header);
    add("relocation records past the image",
        [&](Bytes& b) { store_u32le(b.data() + m.code_header, 56 + 4 * 0x100000); store_u32le(b.data() + m.code_header + 0x30, 0x100000); },
        "relocation records", code_records);
    add("stored bytes past the image", put(m.const_header + 0x28, 0x100000), "data_offset", m.const_header + 0x2C);
    add("stored bytes without a data offset", put(m.form_header + 0x2C, 0xFFFFFFFF), "data_offset", m.form_header + 0x2C);
    add("reserved section word", put(m.help_header + 0x20, 1), "section reserved", m.help_header + 0x20);
    add("unpadded section name", [&](Bytes& b) { b[m.help_header + 0x0C + 6] = 'x'; }, "name", m.help_header + 0x0C);
    add("two sections of one name", [&](Bytes& b) { std::memcpy(b.data() + m.help_header + 0x0C, "form", 5); }, "name",
        m.help_header + 0x0C);
    add("named header at the wrong section", put(0x40, m.form_header), "const_header_offset", 0x40);
    add("named header off the chain", put(0x4C, m.code_header + 4), "code_header_offset", 0x4C);
    add("entry outside the code", put(0x3C, m.code_data - 1), "entry_offset", 0x3C);

    // Library table.
    add("library record of four fields", [](Bytes& b) { b[0x58 + 6] = 'x'; }, "library record", 0x58);
    add("library name not alphanumeric", [](Bytes& b) { b[0x58] = '-'; }, "library_name", 0x58);
    add("library identifier not hexadecimal", [](Bytes& b) { b[0x58 + 7] = 'g'; }, "library_id", 0x58);
    add("major version not decimal", [](Bytes& b) { b[0x58 + 40] = 'x'; }, "major_version", 0x58);
    add("minor version not decimal", [](Bytes& b) { b[0x58 + 42] = 'x'; }, "minor_version", 0x58);
    add("library table without its end record", [&](Bytes& b) { b[m.const_header - 1] = 'x'; }, "library table",
        m.const_header - 1);

    // Relocations and reference lists.
    add("relocation kind 4", put(code_records, 0x01 * 8 + 4), "reloc_kind", code_records);
    add("operand past the code", put(code_records, 0x2E * 8 + 1), "reloc_offset", code_records);
    add("service operand not an entry", [&](Bytes& b) { b[m.code_data + 0x2B] = 0x34; }, "operand", code_records + 20);
    add("constant operand outside the const data", [&](Bytes& b) { b[m.code_data + 0x01] = 41; }, "operand", code_records);
    add("variable operand outside the var memory", [&](Bytes& b) { b[m.code_data + 0x11] = 4; }, "operand", code_records + 12);
    add("code operand outside the code", [&](Bytes& b) { b[m.code_data + 0x25] = 0x30; }, "operand", code_records + 16);
    add("overlapping operands", put(code_records + 4, 0x01 * 8 + 1), "reloc_offset", code_records + 4);
    add("relocation records outside the code section",
        [&](Bytes& b) {
            // Move the help section's first data word into a record of its own.
            store_u32le(b.data() + m.help_header, 60);
            store_u32le(b.data() + m.help_header + 0x30, 1);
            store_u32le(b.data() + m.help_header + 0x28, 48);
            store_u32le(b.data() + m.help_header + 0x24, 48);
            store_u32le(b.data() + m.help_header + 0x2C, m.help_header + 60);
        },
        "reloc_count", m.help_header + 0x30);
    add("listed operand past the code", put(m.lists_data + 4, 0x2D), "reference list entry", m.lists_data + 4);
    add("reference list past the image", put(m.lists_data + 20, 2), "reference list count", m.lists_data + 20);
    add("stated size of the lists", put(m.lists_header + 0x28, 20), "stored_size", m.lists_header + 0x28);
    {
        // Two entries in one list, out of order.
        ImageParts parts = hand_built_parts();
        parts.reference_lists[0] = {0x16, 0x20};
        auto bytes = write_image(parts);
        if (!bytes) throw std::runtime_error(bytes.error().describe());
        auto opened = open_image(*bytes);
        const uint32_t lists = opened->reference_lists_section()->data_offset;
        Bytes b = *bytes;
        store_u32le(b.data() + lists + 4, 0x20);
        store_u32le(b.data() + lists + 8, 0x16);
        cases.push_back({"reference list out of order", std::move(b), "reference list entry", lists + 8});
    }

    // Form section.
    add("window table size not a multiple of 8", put(m.form_data, 12), "window_table_bytes", m.form_data);
    add("window identifier", put(m.form_data + 4, 0x53010001), "window_id", m.form_data + 4);
    add("window unit identifier", put(m.form_data + 16, 0x18010041), "unit_id", m.form_data + 16);
    add("reserved window block words", put(m.form_data + 20, 1), "window block reserved", m.form_data + 20);
    add("no elements", put(m.form_data + 28, 0), "element_count", m.form_data + 28);
    add("element bytes past the form", put(m.form_data + 32, 0x100000), "element_bytes", m.form_data + 32);
    {
        Bytes b = grow_form(m, 4);
        store_u32le(b.data() + m.form_data + 32, load_u32le(b.data() + m.form_data + 32) + 4);
        cases.push_back({"element bytes beyond the records", std::move(b), "element_bytes", m.form_data + 32});
    }
    cases.push_back({"bytes after the last window block", grow_form(m, 4), "form data", m.help_header});
    add("records not back to back", put(m.form_data + 60 + 4, 4), "element_offset", m.form_data + 64);
    add("record past the record area", put(m.record(kItemRecord), 0x1000), "record_length", m.record(kItemRecord));
    add("first element not the window element", put(m.form_data + 36, 0x16010000), "element_id", m.record(kWindowRecord));
    add("control identifier", put(m.form_data + 36 + 8, 0x36010010), "element_id", m.record(kEditRecord));
    add("unknown kind", put(m.record(kEditRecord) + 4, 0x00010004), "kind", m.record(kEditRecord) + 4);
    add("menu kind on a control", put(m.record(kEditRecord) + 4, 0x00010003), "kind", m.record(kEditRecord) + 4);
    add("reserved element bytes", [&](Bytes& b) { b[m.record(kEditRecord) + 10] = 1; }, "element reserved",
        m.record(kEditRecord) + 8);
    add("child count past the record", put(after_head(m, kTabRecord, 7) + 28, 0x10000), "child_count",
        after_head(m, kTabRecord, 7) + 28);
    add("child of another window", put(after_head(m, kTabRecord, 7) + 32, 0x16019999), "child_id", m.record(kTabRecord));
    add("parent that is no container", put(radio + 24, 0x16010010), "parent_id", m.record(kRadioRecord));
    add("event outside the code", put(radio + 61, 0x30), "code_offset", m.record(kRadioRecord));
    add("blob version", put(edit + 77, 3), "property blob version", edit + 77);
    add("counted text past the blob", put(edit + 77 + 0x46, 0x100), "text", edit + 77 + 0x4A);
    add("menu level", put(title + 4, 2), "level", m.record(kTitleRecord));
    add("menu item before any title", put(title + 4, 1), "level", m.record(kTitleRecord));
    add("click outside the code", put(after_head(m, kItemRecord, 0) + 18, 0x30), "click_offset", m.record(kItemRecord));
    add("menu record longer than its fields",
        [&](Bytes& b) {
            // The title record claims 4 more bytes, taken from the item record's length field.
            store_u32le(b.data() + m.record(kTitleRecord), load_u32le(b.data() + m.record(kTitleRecord)) + 4);
            store_u32le(b.data() + m.form_data + 60 + 20, load_u32le(b.data() + m.form_data + 60 + 20) + 4);
        },
        "record_length", m.record(kTitleRecord));
    add("identifier used twice", put(m.form_data + 36 + 12, 0x16010010), "element_id", m.record(kEditRecord));
    return cases;
}

}  // namespace brindle::image::testing
