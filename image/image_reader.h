#pragma once
// Opens a program image: header, library table, section chain, relocation records, identifier
// reference lists, constants and form section, every structural rule checked.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/bytes.h"
#include "common/result.h"
#include "image/constants_reader.h"
#include "image/form_model.h"
#include "image/library_table.h"
#include "image/relocation.h"
#include "image/relocation_apply.h"

namespace brindle::image {

struct ImageHeader {
    uint32_t image_magic = 0;
    uint32_t first_section_offset = 0;
    uint32_t unnamed_28 = 0, unnamed_2c = 0, unnamed_30 = 0;
    uint32_t highest_serial = 0;
    uint32_t unnamed_38 = 0;
    uint32_t entry_offset = 0;
    uint32_t const_header_offset = 0;
    uint32_t form_header_offset = 0;
    uint32_t help_header_offset = 0;
    uint32_t code_header_offset = 0;
    uint32_t var_header_offset = 0;
    uint32_t unnamed_54 = 0;
};

struct Section {
    std::string name;
    uint32_t header_offset = 0;
    uint32_t header_length = 0;
    uint32_t next_header_offset = 0;
    uint32_t flags = 0;
    uint32_t memory_size = 0;
    uint32_t stored_size = 0;
    uint32_t data_offset = 0;  // 0xFFFFFFFF when nothing is stored
    uint32_t reloc_count = 0;
    ByteView data;             // the stored bytes; empty when none
    std::vector<Relocation> relocations;

    bool stored() const { return stored_size != 0; }
};

// A checked view of an image. It points into the bytes it was opened from, which must outlive it.
struct Image {
    ByteView bytes;  // the image's extent
    ImageHeader header;
    std::vector<LibraryRecord> libraries;
    std::vector<Section> sections;  // in chain order
    ReferenceLists reference_lists;
    uint32_t reference_lists_size = 0;  // the bytes the four lists take, whatever size the section states
    FormModel form;

    const Section* find(std::string_view name) const;
    const Section* const_section() const { return at_header(header.const_header_offset); }
    const Section* form_section() const { return at_header(header.form_header_offset); }
    const Section* help_section() const { return at_header(header.help_header_offset); }
    const Section* code_section() const { return at_header(header.code_header_offset); }
    const Section* var_section() const { return at_header(header.var_header_offset); }
    const Section* reference_lists_section() const;

    ConstantsView constants() const;
    ByteView code() const;
    // The entry routine as an offset into the code data.
    uint32_t entry_code_offset() const;
    // A writable copy of the code with its records, ready for relocation.
    RelocatableCode prepare_code() const;

private:
    const Section* at_header(uint32_t header_offset) const;
};

// Opens an image held in `bytes` (trailing bytes after the image are allowed).
Result<Image> open_image(ByteView bytes);

}  // namespace brindle::image
