#include "runtime/host_pages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace brindle::runtime {
namespace {

constexpr size_t k4K = 0x1000, k64K = 0x10000;

// Four 64 KiB pages of real memory, aligned to 64 KiB.
struct Pages {
    std::unique_ptr<uint8_t, decltype(&std::free)> memory{static_cast<uint8_t*>(std::aligned_alloc(k64K, 4 * k64K)),
                                                          &std::free};
    uint8_t* at(size_t offset) const { return memory.get() + offset; }
};

TEST(HostPages, WholePagesInsideARangeLeaveItsPartialPagesOut) {
    Pages p;
    // A block from 4 KiB into the first page to 8 KiB into the fourth.
    std::span<uint8_t> block{p.at(k4K), 3 * k64K + k4K};
    std::span<uint8_t> big = whole_pages_inside(block, k64K);
    EXPECT_EQ(big.data(), p.at(k64K));
    EXPECT_EQ(big.size(), 2 * k64K);
    std::span<uint8_t> small = whole_pages_inside(block, k4K);
    EXPECT_EQ(small.data(), p.at(k4K));
    EXPECT_EQ(small.size(), 3 * k64K + k4K);
    // Within one page there is no whole page.
    EXPECT_TRUE(whole_pages_inside({p.at(k4K), k64K - k4K}, k64K).empty());
    EXPECT_TRUE(whole_pages_inside({p.at(k4K), k64K}, k64K).empty());
}

TEST(HostPages, PagesHoldingARangeTakeItsPartialPagesIn) {
    Pages p;
    std::span<uint8_t> held = pages_holding({p.at(k64K + k4K), 2 * k4K}, k64K);
    EXPECT_EQ(held.data(), p.at(k64K));
    EXPECT_EQ(held.size(), k64K);
    held = pages_holding({p.at(k64K - 1), 2}, k64K);
    EXPECT_EQ(held.data(), p.at(0));
    EXPECT_EQ(held.size(), 2 * k64K);
    held = pages_holding({p.at(k64K), k64K}, k64K);
    EXPECT_EQ(held.data(), p.at(k64K));
    EXPECT_EQ(held.size(), k64K);
}

}  // namespace
}  // namespace brindle::runtime
