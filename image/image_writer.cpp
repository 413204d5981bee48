#include "image/image_writer.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include "common/hex.h"
#include "common/try.h"
#include "image/form_writer.h"
#include "image/kernel_abi.h"
#include "image/layout.h"
#include "image/relocation_apply.h"

namespace brindle::image {
namespace {

namespace hdr = layout::header;
namespace sec = layout::section;
using layout::kNone;

struct SectionPlan {
    std::string_view name;
    uint32_t flags;
    uint32_t memory_size;
    ByteView data;  // empty: nothing stored
    const std::vector<Relocation>* relocations = nullptr;
};

Bytes reference_list_bytes(const ReferenceLists& lists) {
    ByteWriter w;
    for (const auto& list : lists) {
        w.u32(static_cast<uint32_t>(list.size()));
        for (uint32_t offset : list) w.u32(offset);
    }
    return std::move(w.bytes());
}

Result<void> check_parts(const ImageParts& p) {
    if (p.code.empty()) return fail("an image needs code", "code");
    if (p.entry_offset >= p.code.size()) return fail("the entry routine lies outside the code", "entry_offset");
    for (const Relocation& r : p.relocations)
        if (static_cast<uint32_t>(r.kind) > kMaxRelocKind) return fail("relocation kind is not 0 to 3", "reloc_kind");
    BRINDLE_CHECK(check_relocations(p.code, p.relocations,
                                    {static_cast<uint32_t>(p.code.size()), static_cast<uint32_t>(p.const_data.size()), p.var_size},
                                    Error::kNoOffset));
    for (size_t list = 0; list < p.reference_lists.size(); ++list) {
        const auto& entries = p.reference_lists[list];
        for (size_t i = 0; i < entries.size(); ++i) {
            if (uint64_t(entries[i]) + 4 > p.code.size())
                return fail("listed operand runs past the code", "reference list " + std::to_string(list + 1));
            if (i > 0 && entries[i] <= entries[i - 1])
                return fail("offsets are not in ascending order", "reference list " + std::to_string(list + 1));
        }
    }
    return {};
}

Result<void> check_writer_layout(const Image& image) {
    const ImageHeader& h = image.header;
    if (h.unnamed_54 != h.first_section_offset)
        return fail("differs from first_section_offset, which a writer repeats there", "0x54", hdr::kUnnamed54);
    // A writer starts the sections right after the library table: bytes between them would be lost.
    ByteWriter table;
    BRINDLE_CHECK(write_library_table(table, image.libraries));
    if (hdr::kLibraryTable + table.size() != h.first_section_offset)
        return fail("the library table ends at " + hex(hdr::kLibraryTable + table.size()) +
                        ", not at the first section header, where a writer ends it",
                    "library table", hdr::kLibraryTable);
    if (h.highest_serial != image.form.highest_serial())
        return fail("is not the form's largest serial " + std::to_string(image.form.highest_serial()), "highest_serial",
                    hdr::kHighestSerial);
    static constexpr uint32_t kFlags[] = {layout::flag::kData, layout::flag::kData, layout::flag::kData,
                                          layout::flag::kCode, layout::flag::kVariables, layout::flag::kData};
    uint64_t expected_header = h.first_section_offset;
    for (size_t i = 0; i < image.sections.size(); ++i) {
        const Section& s = image.sections[i];
        const bool lists = i + 1 == image.sections.size();
        const bool var = s.name == layout::name::kVar;
        if (s.header_offset != expected_header)
            return fail("section header does not follow the previous section directly", "next_header_offset", s.header_offset);
        if (s.flags != kFlags[i]) return fail("flags differ from what a writer sets", "flags", s.header_offset + sec::kFlags);
        if (var ? s.stored_size != 0 : s.memory_size != s.stored_size)
            return fail("memory_size and stored_size differ from what a writer sets", "memory_size",
                        s.header_offset + sec::kMemorySize);
        if (s.stored() && s.data_offset != s.header_offset + s.header_length)
            return fail("stored bytes do not follow the header directly", "data_offset", s.header_offset + sec::kDataOffset);
        if (!s.stored() && s.data_offset != kNone)
            return fail("a section that stores nothing has a data_offset; a writer leaves it none", "data_offset",
                        s.header_offset + sec::kDataOffset);
        expected_header = uint64_t(s.header_offset) + s.header_length + (lists ? 0 : s.stored_size);
    }
    const Section* help = image.help_section();
    if (help->stored_size != abi::service::kTableSize ||
        std::any_of(help->data.begin(), help->data.end(), [](uint8_t b) { return b != 0; }))
        return fail("the section \"help\" is not " + std::to_string(abi::service::kTableSize) + " zero bytes", "help",
                    help->header_offset);
    return {};
}

}  // namespace

Result<Bytes> write_image(const ImageParts& p) {
    BRINDLE_CHECK(check_parts(p));
    BRINDLE_TRY(const Bytes form, write_form(p.form, static_cast<uint32_t>(p.code.size())));
    const Bytes lists = reference_list_bytes(p.reference_lists);
    const Bytes help(abi::service::kTableSize, 0);
    const SectionPlan plan[] = {
        {layout::name::kConst, layout::flag::kData, static_cast<uint32_t>(p.const_data.size()), p.const_data},
        {layout::name::kForm, layout::flag::kData, static_cast<uint32_t>(form.size()), form},
        {layout::name::kHelp, layout::flag::kData, abi::service::kTableSize, help},
        {layout::name::kCode, layout::flag::kCode, static_cast<uint32_t>(p.code.size()), p.code, &p.relocations},
        {layout::name::kVar, layout::flag::kVariables, p.var_size, {}},
        {layout::name::kReferenceLists, layout::flag::kData, static_cast<uint32_t>(lists.size()), lists},
    };

    ByteWriter w;
    w.zeros(hdr::kLength);
    BRINDLE_CHECK(write_library_table(w, p.libraries));
    const uint32_t first_section = static_cast<uint32_t>(w.size());
    uint32_t header_at[std::size(plan)] = {};
    for (size_t i = 0; i < std::size(plan); ++i) {
        const SectionPlan& s = plan[i];
        const size_t at = w.size();
        header_at[i] = static_cast<uint32_t>(at);
        const size_t reloc_count = s.relocations ? s.relocations->size() : 0;
        const uint64_t header_length = sec::header_length(reloc_count);
        const uint64_t next = at + header_length + s.data.size();
        if (next >= kNone) return fail("image exceeds 4 GiB", std::string(s.name));
        w.u32(static_cast<uint32_t>(header_length));
        w.u32(i + 1 < std::size(plan) ? static_cast<uint32_t>(next) : kNone);
        w.u32(s.flags);
        char name[sec::kNameLength] = {};
        std::copy(s.name.begin(), s.name.end(), name);
        w.raw(std::string_view(name, sizeof name));
        w.u32(0);
        w.u32(s.memory_size);
        w.u32(static_cast<uint32_t>(s.data.size()));
        w.u32(s.data.empty() ? kNone : static_cast<uint32_t>(at + header_length));
        w.u32(static_cast<uint32_t>(reloc_count));
        w.u32(0);
        if (s.relocations)
            for (const Relocation& r : *s.relocations) w.u32(r.encode());
        w.raw(s.data);
    }
    const uint32_t code_data = header_at[3] + static_cast<uint32_t>(sec::header_length(p.relocations.size()));

    w.patch_u32(hdr::kMagic, layout::kImageMagic);
    w.patch_u32(hdr::kFirstSection, first_section);
    w.patch_u32(hdr::kUnnamed28, p.unnamed_28);
    w.patch_u32(hdr::kUnnamed2C, p.unnamed_2c);
    w.patch_u32(hdr::kUnnamed30, p.unnamed_30);
    w.patch_u32(hdr::kHighestSerial, p.form.highest_serial());
    w.patch_u32(hdr::kUnnamed38, p.unnamed_38);
    w.patch_u32(hdr::kEntry, code_data + p.entry_offset);
    w.patch_u32(hdr::kConstHeader, header_at[0]);
    w.patch_u32(hdr::kFormHeader, header_at[1]);
    w.patch_u32(hdr::kHelpHeader, header_at[2]);
    w.patch_u32(hdr::kCodeHeader, header_at[3]);
    w.patch_u32(hdr::kVarHeader, header_at[4]);
    w.patch_u32(hdr::kUnnamed54, first_section);
    return std::move(w.bytes());
}

Result<ImageParts> image_parts(const Image& image) {
    static constexpr std::string_view kOrder[] = {layout::name::kConst, layout::name::kForm, layout::name::kHelp,
                                                  layout::name::kCode,  layout::name::kVar,  layout::name::kReferenceLists};
    if (image.sections.size() != std::size(kOrder))
        return fail("the image does not hold the six sections a writer emits", "sections");
    for (size_t i = 0; i < std::size(kOrder); ++i)
        if (image.sections[i].name != kOrder[i])
            return fail("section " + std::to_string(i) + " is \"" + image.sections[i].name + "\", expected \"" +
                            std::string(kOrder[i]) + "\"",
                        "name", image.sections[i].header_offset);
    const Section* code = image.code_section();
    const Section* constants = image.const_section();
    const Section* var = image.var_section();
    if (!code || !constants || !var || !image.form_section() || !image.help_section())
        return fail("a named header offset is none", "header");
    // Only what a writer would lay out the same way can be taken apart without losing anything.
    BRINDLE_CHECK(check_writer_layout(image));
    ImageParts p;
    p.libraries = image.libraries;
    p.const_data.assign(constants->data.begin(), constants->data.end());
    p.form = image.form;
    p.code.assign(code->data.begin(), code->data.end());
    p.relocations = code->relocations;
    p.var_size = var->memory_size;
    p.reference_lists = image.reference_lists;
    p.entry_offset = image.entry_code_offset();
    p.unnamed_28 = image.header.unnamed_28;
    p.unnamed_2c = image.header.unnamed_2c;
    p.unnamed_30 = image.header.unnamed_30;
    p.unnamed_38 = image.header.unnamed_38;
    return p;
}

}  // namespace brindle::image
