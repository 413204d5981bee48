#pragma once
// Lays out a program image from its parts: header, library table, then the sections const, form,
// help, code, var and @reloc1, each with its data right after its header, no padding.
#include <cstdint>
#include <vector>

#include "common/bytes.h"
#include "common/result.h"
#include "image/form_model.h"
#include "image/image_reader.h"
#include "image/layout.h"
#include "image/library_table.h"
#include "image/relocation.h"

namespace brindle::image {

struct ImageParts {
    std::vector<LibraryRecord> libraries;  // the kernel first
    Bytes const_data;                      // e.g. ConstantPool::data()
    FormModel form;
    Bytes code;
    std::vector<Relocation> relocations;   // of the code, written in this order
    uint32_t var_size = 0;                 // memory of the section "var"; nothing is stored
    ReferenceLists reference_lists;        // each list in ascending order
    uint32_t entry_offset = 0;             // the entry routine, as an offset into the code
    uint32_t unnamed_28 = layout::defaults::kUnnamed28;
    uint32_t unnamed_2c = layout::defaults::kUnnamed2C;
    uint32_t unnamed_30 = layout::defaults::kUnnamed30;
    uint32_t unnamed_38 = layout::defaults::kUnnamed38;
    friend bool operator==(const ImageParts&, const ImageParts&) = default;
};

// Checks the parts as a reader would check the image, and writes it. The header's highest serial
// comes from the form's identifiers; the reference lists' stored size is their true size.
Result<Bytes> write_image(const ImageParts& parts);

// The parts of an opened image; refuses an image whose sections are not the six a writer emits.
Result<ImageParts> image_parts(const Image& image);

}  // namespace brindle::image
