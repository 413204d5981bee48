#pragma once
// Constants of the section "const" by constant offset: texts, byte blocks and doubles.
#include <cstdint>
#include <string>

#include "common/bytes.h"
#include "common/result.h"

namespace brindle::image {

// The kind of a constant is not stored; the code that uses it knows it.
enum class ConstantKind { Text, Bytes, Number };

class ConstantsView {
public:
    ConstantsView() = default;
    // `base_offset` is the data's offset in the image, so errors name image offsets.
    explicit ConstantsView(ByteView data, uint64_t base_offset = 0) : data_(data), base_(base_offset) {}

    uint32_t size() const { return static_cast<uint32_t>(data_.size()); }
    ByteView data() const { return data_; }

    // The bytes up to the next NUL, which must lie inside the section.
    Result<std::string> text_at(uint32_t offset) const;
    // A byte block: dimension count 1, byte count n, the n bytes.
    Result<ByteView> bytes_at(uint32_t offset) const;
    // An 8-byte double at any offset, odd ones included.
    Result<double> number_at(uint32_t offset) const;
    // The offset just past the constant of the given kind at `offset`.
    Result<uint32_t> end_of(ConstantKind kind, uint32_t offset) const;

private:
    Result<ByteCursor> cursor_at(uint32_t offset, const char* field) const;

    ByteView data_;
    uint64_t base_ = 0;
};

}  // namespace brindle::image
