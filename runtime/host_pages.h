#pragma once
// The host's memory pages, the unit of madvise and mprotect: 4 KiB on x86-64, and 4, 16 or 64 KiB on
// arm64 Linux, whatever the size of the guest's pages (memory_map::kPageSize).
#include <cstddef>
#include <cstdint>
#include <span>

namespace brindle::runtime {

// sysconf(_SC_PAGESIZE), read once.
size_t host_page_size();

// The whole pages of `page` bytes inside `bytes` (empty when there is none): what can be handed back to
// the host without touching the bytes around it.
std::span<uint8_t> whole_pages_inside(std::span<uint8_t> bytes, size_t page);
// The pages of `page` bytes that hold `bytes`: what mprotect must be given to cover them.
std::span<uint8_t> pages_holding(std::span<uint8_t> bytes, size_t page);

}  // namespace brindle::runtime
