#pragma once
// Where everything lives in the emulated 32-bit address space. All bases and sizes are page aligned.
#include <cstdint>

namespace brindle::runtime::memory_map {

// The guest's page; the host's may be larger (runtime/host_pages.h).
inline constexpr uint32_t kPageSize = 0x1000;

// Default load addresses of the image's pieces; the loader accepts others.
inline constexpr uint32_t kCodeBase = 0x00400000;
inline constexpr uint32_t kConstBase = 0x01000000;
inline constexpr uint32_t kVarBase = 0x02000000;
// Largest code, const or var piece the loader accepts: each must fit below the next base.
inline constexpr uint32_t kMaxPieceSize = 0x00C00000;

// The 13-entry service table, and one 4-byte stub per entry: entry e's slot holds kStubBase + e.
inline constexpr uint32_t kServiceTableBase = 0x03000000;
inline constexpr uint32_t kStubBase = 0x03001000;
inline constexpr uint32_t kStubStride = 4;
// Return address pushed under every routine the kernel starts; reaching it ends the run.
inline constexpr uint32_t kSentinel = 0x03002000;
inline constexpr uint32_t kKernelPagesBase = kServiceTableBase;
inline constexpr uint32_t kKernelPagesSize = 3 * kPageSize;

// Kernel-owned blocks handed to routines: mapped at kHeapSize, grown on demand up to kHeapLimit
// (1 GiB: room for a text of a few hundred megabytes and its copies).
inline constexpr uint32_t kHeapBase = 0x10000000;
inline constexpr uint32_t kHeapSize = 0x01000000;
inline constexpr uint32_t kHeapLimit = 0x40000000;

// The entry routine's stack, parked while the event loop runs, and the stack event routines run on;
// above the heap's limit.
inline constexpr uint32_t kEntryStackBase = 0x50000000;
inline constexpr uint32_t kEventStackBase = 0x50100000;
inline constexpr uint32_t kStackSize = 0x00100000;

constexpr uint32_t page_round_up(uint32_t size) { return (size + kPageSize - 1) & ~(kPageSize - 1); }

}  // namespace brindle::runtime::memory_map
