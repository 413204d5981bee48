#pragma once
// The data of the section "const" while it is being built: each distinct stored form once, in order
// of first addition, no padding.
#include <cstdint>
#include <map>
#include <string_view>

#include "common/bytes.h"

namespace brindle::image {

class ConstantPool {
public:
    // A GBK text: its bytes and a NUL. The empty text is a lone NUL with an offset of its own.
    uint32_t add_text(std::string_view gbk);
    // A byte block: dimension count 1, byte count, bytes.
    uint32_t add_bytes(ByteView block);
    // An IEEE 754 double, 8 bytes little-endian.
    uint32_t add_double(double value);

    const Bytes& data() const { return data_; }

private:
    uint32_t intern(Bytes stored);

    Bytes data_;
    std::map<Bytes, uint32_t> offsets_;
};

}  // namespace brindle::image
