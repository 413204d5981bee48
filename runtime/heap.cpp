#include "runtime/heap.h"

#include <cstring>

namespace brindle::runtime {

Result<uint32_t> Heap::allocate(uint32_t size) {
    uint64_t rounded64 = (uint64_t(size == 0 ? 1 : size) + kGranule - 1) / kGranule * kGranule;
    if (rounded64 > size_) return fail("heap exhausted: block of " + std::to_string(size) + " bytes", "size");
    uint32_t rounded = static_cast<uint32_t>(rounded64);
    uint32_t address;
    auto reuse = free_.find(rounded);
    if (reuse != free_.end() && !reuse->second.empty()) {
        address = reuse->second.back();
        reuse->second.pop_back();
    } else {
        if (rounded > size_ - used_) return fail("heap exhausted: block of " + std::to_string(size) + " bytes", "size");
        address = base_ + used_;
        used_ += rounded;
    }
    uint8_t* p = machine_.host(address, rounded);
    if (!p) return fail("heap memory is not mapped", "address", address);
    std::memset(p, 0, rounded);
    live_.emplace(address, rounded);
    return address;
}

Result<uint32_t> Heap::allocate_text(std::string_view text) {
    if (text.size() >= UINT32_MAX) return fail("text too long for a block", "size");
    auto block = allocate(static_cast<uint32_t>(text.size() + 1));
    if (!block) return block;
    std::memcpy(machine_.host(*block, static_cast<uint32_t>(text.size() + 1)), text.data(), text.size());
    return block;
}

Result<Heap::Release> Heap::release(uint32_t address) {
    auto it = live_.find(address);
    if (it != live_.end()) {
        free_[it->second].push_back(address);
        live_.erase(it);
        return Release::Freed;
    }
    for (auto [begin, end] : ignored_)
        if (address >= begin && address < end) return Release::Ignored;
    if (address >= base_ && address - base_ < used_)
        return fail("release of a block that is not live (released twice, or not a block's start)", "address",
                    address);
    return fail("release of memory the kernel never handed out", "address", address);
}

}  // namespace brindle::runtime
