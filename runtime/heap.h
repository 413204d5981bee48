#pragma once
// Kernel-owned blocks in emulated memory: texts and buffers handed to routines. The live-block count
// lets a test check that a routine released everything it obtained.
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

#include "common/result.h"
#include "runtime/machine.h"

namespace brindle::runtime {

class Heap {
public:
    // Blocks are carved from [base, base + size), which the machine has mapped.
    Heap(Machine& machine, uint32_t base, uint32_t size) : machine_(machine), base_(base), size_(size) {}

    // A zero-filled block of at least `size` bytes (a size of 0 still gets a block of its own).
    Result<uint32_t> allocate(uint32_t size);
    // A new block holding text and a NUL.
    Result<uint32_t> allocate_text(std::string_view text);

    enum class Release { Freed, Ignored };
    // Frees a block handed out and still live; an address inside `ignored` (the constant data) is left
    // alone; anything else is an error and changes nothing.
    Result<Release> release(uint32_t address);
    void ignore_range(uint32_t begin, uint32_t end) { ignored_.push_back({begin, end}); }

    size_t live_blocks() const { return live_.size(); }
    bool is_live(uint32_t address) const { return live_.contains(address); }

private:
    static constexpr uint32_t kGranule = 16;

    Machine& machine_;
    uint32_t base_;
    uint32_t size_;
    uint32_t used_ = 0;
    std::unordered_map<uint32_t, uint32_t> live_;         // address -> rounded size
    std::map<uint32_t, std::vector<uint32_t>> free_;      // rounded size -> free addresses
    std::vector<std::pair<uint32_t, uint32_t>> ignored_;  // [begin, end)
};

}  // namespace brindle::runtime
