#include "image/constant_pool.h"

#include "image/layout.h"

namespace brindle::image {

uint32_t ConstantPool::intern(Bytes stored) {
    auto [it, added] = offsets_.try_emplace(std::move(stored), static_cast<uint32_t>(data_.size()));
    if (added) data_.insert(data_.end(), it->first.begin(), it->first.end());
    return it->second;
}

uint32_t ConstantPool::add_text(std::string_view gbk) {
    ByteWriter w;
    w.cstring(gbk);
    return intern(std::move(w.bytes()));
}

uint32_t ConstantPool::add_bytes(ByteView block) {
    ByteWriter w;
    w.u32(layout::kByteBlockDimensions);
    w.counted(block);
    return intern(std::move(w.bytes()));
}

uint32_t ConstantPool::add_double(double value) {
    ByteWriter w;
    w.f64(value);
    return intern(std::move(w.bytes()));
}

}  // namespace brindle::image
