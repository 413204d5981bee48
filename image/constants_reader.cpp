#include "image/constants_reader.h"

#include "common/try.h"
#include "image/layout.h"

namespace brindle::image {

using layout::kByteBlockDimensions;

Result<ByteCursor> ConstantsView::cursor_at(uint32_t offset, const char* field) const {
    if (offset >= data_.size())
        return fail("constant offset " + std::to_string(offset) + " is not below the section size " +
                        std::to_string(data_.size()),
                    field, base_ + offset);
    return ByteCursor(data_, offset, base_);
}

Result<std::string> ConstantsView::text_at(uint32_t offset) const {
    BRINDLE_TRY(ByteCursor c, cursor_at(offset, "constant text"));
    return c.cstring("constant text");
}

Result<ByteView> ConstantsView::bytes_at(uint32_t offset) const {
    BRINDLE_TRY(ByteCursor c, cursor_at(offset, "constant byte block"));
    BRINDLE_TRY(uint32_t dimensions, c.u32("byte block dimension count"));
    if (dimensions != kByteBlockDimensions)
        return fail("byte block dimension count is " + std::to_string(dimensions) + ", not " +
                        std::to_string(kByteBlockDimensions),
                    "byte block dimension count", base_ + offset);
    BRINDLE_TRY(uint32_t n, c.u32("byte block length"));
    return c.bytes(n, "byte block bytes");
}

Result<double> ConstantsView::number_at(uint32_t offset) const {
    BRINDLE_TRY(ByteCursor c, cursor_at(offset, "constant number"));
    return c.f64("constant number");
}

Result<uint32_t> ConstantsView::end_of(ConstantKind kind, uint32_t offset) const {
    switch (kind) {
        case ConstantKind::Text: {
            BRINDLE_TRY(auto text, text_at(offset));
            return offset + static_cast<uint32_t>(text.size()) + 1;
        }
        case ConstantKind::Bytes: {
            BRINDLE_TRY(auto bytes, bytes_at(offset));
            return offset + layout::kByteBlockHeader + static_cast<uint32_t>(bytes.size());
        }
        case ConstantKind::Number: BRINDLE_CHECK(number_at(offset)); return offset + 8;
    }
    return fail("unknown constant kind", "constant");
}

}  // namespace brindle::image
