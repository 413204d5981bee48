#pragma once
// Kernel-owned blocks in emulated memory: texts and buffers handed to routines. The live-block count
// lets a test check that a routine released everything it obtained.
//
// Best fit over free blocks kept by size, split on allocation and merged with free neighbours on
// release. The bookkeeping lives on the host, out of the routines' reach. The heap starts small and
// grows through the guest address space (the machine maps more of its region) up to its limit.
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/result.h"
#include "runtime/machine.h"

namespace brindle::runtime {

class Heap {
public:
    // Blocks are carved from [base, base + size), which the machine has mapped; with a larger limit
    // the heap asks the machine to grow that region (map_growable) when nothing free fits.
    Heap(Machine& machine, uint32_t base, uint32_t size, uint32_t limit = 0);

    // A zero-filled block of at least `size` bytes (a size of 0 still gets a block of its own).
    Result<uint32_t> allocate(uint32_t size);
    // A new block holding text and a NUL.
    Result<uint32_t> allocate_text(std::string_view text);

    enum class Release { Freed, Ignored };
    // Frees a block handed out and still live; an address inside `ignored` (the constant data) is left
    // alone; anything else is an error and changes nothing.
    Result<Release> release(uint32_t address);
    void ignore_range(uint32_t begin, uint32_t end) { ignored_.push_back({begin, end}); }

    // Blocks handed out from now on belong to a new owner (a routine run); release_owned() frees
    // those still live, for a routine that was stopped before it could release them.
    void begin_owner() { ++owner_; }
    size_t release_owned();

    // The size of the last request refused for want of room, once: the caller ends the routine that
    // asked rather than the program.
    std::optional<uint32_t> take_exhaustion() { return std::exchange(exhausted_, std::nullopt); }

    size_t live_blocks() const { return live_.size(); }
    bool is_live(uint32_t address) const { return live_.contains(address); }
    // Bytes of guest memory the heap spans now, and may span at most.
    uint32_t size() const { return size_; }
    uint32_t limit() const { return limit_; }

    static constexpr uint32_t kGranule = 16;

private:
    struct Live {
        uint32_t size;  // rounded
        uint32_t owner;
    };
    void add_free(uint32_t address, uint32_t size);
    void remove_free(std::map<uint32_t, uint32_t>::iterator it);
    // Makes room for a block of `rounded` bytes at the top of the heap.
    Result<void> grow_for(uint32_t rounded);
    std::unexpected<Error> exhausted(uint32_t size);
    void free_block(uint32_t address, uint32_t size);

    Machine& machine_;
    uint32_t base_;
    uint32_t size_;
    uint32_t limit_;
    uint32_t owner_ = 0;
    std::optional<uint32_t> exhausted_;
    std::unordered_map<uint32_t, Live> live_;            // address -> block
    std::map<uint32_t, uint32_t> free_;                  // address -> size, never two adjacent
    std::set<std::pair<uint32_t, uint32_t>> by_size_;    // (size, address) of every free block
    std::vector<std::pair<uint32_t, uint32_t>> ignored_;  // [begin, end)
};

}  // namespace brindle::runtime
