#include "image/image_reader.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "common/hex.h"
#include "common/try.h"
#include "image/form_reader.h"
#include "image/layout.h"

namespace brindle::image {
namespace {

namespace hdr = layout::header;
namespace sec = layout::section;
using layout::kNone;

Result<ImageHeader> read_header(ByteView bytes) {
    ByteCursor c(bytes);
    ImageHeader h;
    BRINDLE_TRY(h.image_magic, c.u32("image_magic"));
    if (h.image_magic != layout::kImageMagic)
        return fail("not a program image: magic " + hex(h.image_magic) + ", expected " + hex(layout::kImageMagic),
                    "image_magic", 0);
    BRINDLE_TRY(ByteView reserved, c.bytes(hdr::kReservedLength, "header reserved"));
    if (std::any_of(reserved.begin(), reserved.end(), [](uint8_t b) { return b != 0; }))
        return fail("reserved header bytes are not zero", "header reserved", hdr::kReserved);
    BRINDLE_TRY(h.first_section_offset, c.u32("first_section_offset"));
    BRINDLE_TRY(h.unnamed_28, c.u32("0x28"));
    BRINDLE_TRY(h.unnamed_2c, c.u32("0x2C"));
    BRINDLE_TRY(h.unnamed_30, c.u32("0x30"));
    BRINDLE_TRY(h.highest_serial, c.u32("highest_serial"));
    BRINDLE_TRY(h.unnamed_38, c.u32("0x38"));
    BRINDLE_TRY(h.entry_offset, c.u32("entry_offset"));
    BRINDLE_TRY(h.const_header_offset, c.u32("const_header_offset"));
    BRINDLE_TRY(h.form_header_offset, c.u32("form_header_offset"));
    BRINDLE_TRY(h.help_header_offset, c.u32("help_header_offset"));
    BRINDLE_TRY(h.code_header_offset, c.u32("code_header_offset"));
    BRINDLE_TRY(h.var_header_offset, c.u32("var_header_offset"));
    BRINDLE_TRY(h.unnamed_54, c.u32("0x54"));
    return h;
}

Result<Section> read_section_header(ByteView bytes, uint32_t at) {
    if (uint64_t(at) + sec::kFixedLength > bytes.size())
        return fail("section header runs past the image (size " + hex(bytes.size()) + ")", "section header", at);
    ByteCursor c(bytes, at);
    Section s;
    s.header_offset = at;
    BRINDLE_TRY(s.header_length, c.u32("header_length"));
    BRINDLE_TRY(s.next_header_offset, c.u32("next_header_offset"));
    BRINDLE_TRY(s.flags, c.u32("flags"));
    BRINDLE_TRY(ByteView name, c.bytes(sec::kNameLength, "name"));
    auto nul = std::find(name.begin(), name.end(), uint8_t{0});
    s.name.assign(name.begin(), nul);
    if (s.name.empty()) return fail("section has no name", "name", at + sec::kName);
    if (std::any_of(nul, name.end(), [](uint8_t b) { return b != 0; }))
        return fail("section name is not NUL-padded", "name", at + sec::kName);
    BRINDLE_TRY(uint32_t reserved20, c.u32("section reserved"));
    if (reserved20 != 0) return fail("reserved word is not zero", "section reserved", at + sec::kReserved20);
    BRINDLE_TRY(s.memory_size, c.u32("memory_size"));
    BRINDLE_TRY(s.stored_size, c.u32("stored_size"));
    BRINDLE_TRY(s.data_offset, c.u32("data_offset"));
    BRINDLE_TRY(s.reloc_count, c.u32("reloc_count"));
    BRINDLE_TRY(uint32_t reserved34, c.u32("section reserved"));
    if (reserved34 != 0) return fail("reserved word is not zero", "section reserved", at + sec::kReserved34);
    if (s.header_length != sec::header_length(s.reloc_count))
        return fail("header_length " + hex(s.header_length) + " is not 56 + 4 × reloc_count (" + hex(s.reloc_count) + ")",
                    "header_length", at + sec::kHeaderLength);
    BRINDLE_TRY(ByteView records, c.bytes(uint64_t(s.reloc_count) * sec::kRecordSize, "relocation records"));
    BRINDLE_TRY(s.relocations, read_relocations(records, at + sec::kRecords));
    if (s.stored_size != 0) {
        if (s.data_offset == kNone)
            return fail("section stores " + hex(s.stored_size) + " bytes but has no data_offset", "data_offset", at + sec::kDataOffset);
        if (uint64_t(s.data_offset) + s.stored_size > bytes.size())
            return fail("stored bytes run past the image (size " + hex(bytes.size()) + ")", "data_offset", at + sec::kDataOffset);
        s.data = bytes.subspan(s.data_offset, s.stored_size);
    } else if (s.data_offset != kNone && s.data_offset > bytes.size()) {
        return fail("data_offset lies outside the image", "data_offset", at + sec::kDataOffset);
    }
    return s;
}

Result<void> read_reference_lists(Image& image, const Section& s) {
    if (s.data_offset == kNone || s.data_offset > image.bytes.size())
        return fail("the reference lists have no stored bytes", "data_offset", s.header_offset + sec::kDataOffset);
    const ByteView code = image.code();
    ByteCursor c(image.bytes, s.data_offset);
    for (size_t list = 0; list < image.reference_lists.size(); ++list) {
        const uint64_t count_at = c.offset();
        BRINDLE_TRY(const uint32_t count, c.u32("reference list count"));
        if (count > c.remaining() / 4)
            return fail("reference list " + std::to_string(list + 1) + " of " + std::to_string(count) +
                            " entries runs past the image",
                        "reference list count", count_at);
        auto& entries = image.reference_lists[list];
        for (uint32_t i = 0; i < count; ++i) {
            const uint64_t entry_at = c.offset();
            BRINDLE_TRY(const uint32_t offset, c.u32("reference list entry"));
            if (uint64_t(offset) + 4 > code.size())
                return fail("listed operand at code offset " + hex(offset) + " runs past the code data", "reference list entry", entry_at);
            if (!entries.empty() && offset <= entries.back())
                return fail("reference list offsets are not in ascending order", "reference list entry", entry_at);
            entries.push_back(offset);
        }
    }
    image.reference_lists_size = static_cast<uint32_t>(c.offset() - s.data_offset);
    const uint32_t stated = s.stored_size;
    if (stated != image.reference_lists_size && uint64_t(stated) + 4 != image.reference_lists_size)
        return fail("stored_size " + hex(stated) + " matches neither the lists' size " + hex(image.reference_lists_size) +
                        " nor 4 bytes less",
                    "stored_size", s.header_offset + sec::kStoredSize);
    return {};
}

Result<void> check_named_header(const Image& image, uint32_t field_at, const char* field, uint32_t value,
                                std::string_view name) {
    if (value == kNone) return {};
    for (const Section& s : image.sections)
        if (s.header_offset == value) {
            if (s.name != name)
                return fail("points at the section \"" + s.name + "\", not \"" + std::string(name) + "\"", field, field_at);
            return {};
        }
    return fail(hex(value) + " is not the offset of a section header of the chain", field, field_at);
}

}  // namespace

const Section* Image::find(std::string_view name) const {
    for (const Section& s : sections)
        if (s.name == name) return &s;
    return nullptr;
}

const Section* Image::at_header(uint32_t header_offset) const {
    if (header_offset == kNone) return nullptr;
    for (const Section& s : sections)
        if (s.header_offset == header_offset) return &s;
    return nullptr;
}

const Section* Image::reference_lists_section() const { return find(layout::name::kReferenceLists); }

ConstantsView Image::constants() const {
    const Section* s = const_section();
    return s ? ConstantsView(s->data, s->data_offset) : ConstantsView();
}

ByteView Image::code() const {
    const Section* s = code_section();
    return s ? s->data : ByteView();
}

uint32_t Image::entry_code_offset() const {
    const Section* s = code_section();
    return s ? header.entry_offset - s->data_offset : kNone;
}

RelocatableCode Image::prepare_code() const {
    const Section* s = code_section();
    if (!s) return RelocatableCode({}, {});
    return RelocatableCode(Bytes(s->data.begin(), s->data.end()), s->relocations);
}

Result<Image> open_image(ByteView bytes) {
    if (bytes.size() < 4) return fail("image is shorter than its magic", "image_magic", 0);
    Image image;
    image.bytes = bytes;
    BRINDLE_TRY(image.header, read_header(bytes));
    const ImageHeader& h = image.header;
    if (h.first_section_offset < hdr::kLength || h.first_section_offset >= bytes.size())
        return fail(hex(h.first_section_offset) + " lies outside the image or inside its header", "first_section_offset",
                    hdr::kFirstSection);
    BRINDLE_TRY(LibraryTable table, read_library_table(bytes, hdr::kLibraryTable, h.first_section_offset));
    image.libraries = std::move(table.records);

    std::set<uint32_t> visited;
    for (uint32_t at = h.first_section_offset; at != kNone;) {
        if (!visited.insert(at).second)
            return fail("the section chain revisits the header at " + hex(at), "next_header_offset", at);
        BRINDLE_TRY(Section s, read_section_header(bytes, at));
        if (image.find(s.name)) return fail("a second section named \"" + s.name + "\"", "name", at + sec::kName);
        at = s.next_header_offset;
        image.sections.push_back(std::move(s));
    }

    BRINDLE_CHECK(check_named_header(image, hdr::kConstHeader, "const_header_offset", h.const_header_offset, layout::name::kConst));
    BRINDLE_CHECK(check_named_header(image, hdr::kFormHeader, "form_header_offset", h.form_header_offset, layout::name::kForm));
    BRINDLE_CHECK(check_named_header(image, hdr::kHelpHeader, "help_header_offset", h.help_header_offset, layout::name::kHelp));
    BRINDLE_CHECK(check_named_header(image, hdr::kCodeHeader, "code_header_offset", h.code_header_offset, layout::name::kCode));
    BRINDLE_CHECK(check_named_header(image, hdr::kVarHeader, "var_header_offset", h.var_header_offset, layout::name::kVar));

    const Section* code = image.code_section();
    for (const Section& s : image.sections)
        if (!s.relocations.empty() && &s != code)
            return fail("only the code section carries relocation records", "reloc_count", s.header_offset + sec::kRelocCount);
    if (code) {
        if (h.entry_offset < code->data_offset || uint64_t(h.entry_offset) >= uint64_t(code->data_offset) + code->stored_size)
            return fail(hex(h.entry_offset) + " lies outside the code data", "entry_offset", hdr::kEntry);
        const Section* constants = image.const_section();
        const Section* var = image.var_section();
        RelocTargets targets{code->stored_size, constants ? constants->stored_size : 0, var ? var->memory_size : 0};
        BRINDLE_CHECK(check_relocations(code->data, code->relocations, targets, code->header_offset + sec::kRecords));
    } else if (h.entry_offset != kNone) {
        return fail("an entry routine without a code section", "entry_offset", hdr::kEntry);
    }
    if (const Section* lists = image.reference_lists_section()) BRINDLE_CHECK(read_reference_lists(image, *lists));
    if (const Section* form = image.form_section()) {
        BRINDLE_TRY(image.form, read_form(form->data, form->data_offset,
                                          code ? std::optional<uint32_t>(code->stored_size) : std::nullopt));
    }
    return image;
}

}  // namespace brindle::image
