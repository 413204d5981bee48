#include "runtime/heap.h"

#include <sys/mman.h>

#include <cstring>

#include "runtime/host_pages.h"

namespace brindle::runtime {
namespace {

constexpr uint32_t kGrowStep = 0x00100000;
// Freed spans this large go back to the host; the pages read as zero when next used.
constexpr uint32_t kReturnToHost = 0x00040000;

uint64_t round_up(uint64_t value, uint64_t step) { return (value + step - 1) / step * step; }

}  // namespace

Heap::Heap(Machine& machine, uint32_t base, uint32_t size, uint32_t limit)
    : machine_(machine), base_(base), size_(size), limit_(limit > size ? limit : size) {
    if (size_ > 0) add_free(base_, size_);
}

void Heap::add_free(uint32_t address, uint32_t size) {
    free_.emplace(address, size);
    by_size_.emplace(size, address);
}

void Heap::remove_free(std::map<uint32_t, uint32_t>::iterator it) {
    by_size_.erase({it->second, it->first});
    free_.erase(it);
}

std::unexpected<Error> Heap::exhausted(uint32_t size) {
    exhausted_ = size;
    std::string limit = limit_ % 0x100000 == 0 ? std::to_string(limit_ >> 20) + " MiB" : std::to_string(limit_) + " bytes";
    return fail("heap exhausted: no room for a block of " + std::to_string(size) + " bytes within the heap's " + limit,
                "size");
}

Result<void> Heap::grow_for(uint32_t rounded) {
    uint32_t tail = 0;
    if (!free_.empty()) {
        auto last = std::prev(free_.end());
        if (uint64_t(last->first) + last->second == uint64_t(base_) + size_) tail = last->second;
    }
    uint64_t wanted = uint64_t(size_) + rounded - tail;
    if (wanted > limit_) return fail("over the limit");
    // Doubling keeps the number of mapped pieces small.
    uint64_t grown = round_up(std::max<uint64_t>(wanted, uint64_t(size_) * 2), kGrowStep);
    if (grown > limit_) grown = limit_;
    if (auto r = machine_.grow(base_, static_cast<uint32_t>(grown)); !r) return r;
    uint32_t old_end = base_ + size_;
    size_ = static_cast<uint32_t>(grown);
    free_block(old_end, size_ - (old_end - base_));
    return {};
}

Result<uint32_t> Heap::allocate(uint32_t size) {
    exhausted_.reset();
    uint64_t rounded64 = round_up(size == 0 ? 1 : size, kGranule);
    if (rounded64 > limit_) return exhausted(size);
    uint32_t rounded = static_cast<uint32_t>(rounded64);
    auto fit = by_size_.lower_bound({rounded, 0});
    if (fit == by_size_.end()) {
        if (!grow_for(rounded)) return exhausted(size);
        fit = by_size_.lower_bound({rounded, 0});
        if (fit == by_size_.end()) return exhausted(size);
    }
    auto [free_size, address] = *fit;
    remove_free(free_.find(address));
    if (free_size > rounded) add_free(address + rounded, free_size - rounded);
    uint8_t* p = machine_.host(address, rounded);
    if (!p) return fail("heap memory is not mapped", "address", address);
    std::memset(p, 0, rounded);
    live_.emplace(address, Live{rounded, owner_});
    return address;
}

Result<uint32_t> Heap::allocate_text(std::string_view text) {
    if (text.size() >= UINT32_MAX) return exhausted(UINT32_MAX);
    auto block = allocate(static_cast<uint32_t>(text.size() + 1));
    if (!block) return block;
    std::memcpy(machine_.host(*block, static_cast<uint32_t>(text.size() + 1)), text.data(), text.size());
    return block;
}

void Heap::free_block(uint32_t address, uint32_t size) {
    uint32_t begin = address, end = address + size;
    auto next = free_.lower_bound(address);
    if (next != free_.end() && next->first == end) {
        end += next->second;
        remove_free(next++);
    }
    if (next != free_.begin()) {
        auto prev = std::prev(next);
        if (prev->first + prev->second == begin) {
            begin = prev->first;
            remove_free(prev);
        }
    }
    add_free(begin, end - begin);
    uint8_t* freed = size >= kReturnToHost ? machine_.host(address, size) : nullptr;
    if (freed) {
        // madvise drops whole host pages, however long the range it is given: only those inside the block.
        std::span<uint8_t> pages = whole_pages_inside({freed, size}, host_page_size());
        if (!pages.empty()) madvise(pages.data(), pages.size(), MADV_DONTNEED);
    }
}

Result<Heap::Release> Heap::release(uint32_t address) {
    auto it = live_.find(address);
    if (it != live_.end()) {
        free_block(address, it->second.size);
        live_.erase(it);
        return Release::Freed;
    }
    for (auto [begin, end] : ignored_)
        if (address >= begin && address < end) return Release::Ignored;
    if (address >= base_ && address - base_ < size_)
        return fail("release of a block that is not live (released twice, or not a block's start)", "address",
                    address);
    return fail("release of memory the kernel never handed out", "address", address);
}

size_t Heap::release_owned() {
    std::vector<uint32_t> owned;
    for (const auto& [address, block] : live_)
        if (block.owner == owner_) owned.push_back(address);
    for (uint32_t address : owned) (void)release(address);
    return owned.size();
}

}  // namespace brindle::runtime
