#include <gtest/gtest.h>

#include "runtime/heap.h"
#include "runtime/memory_map.h"

namespace brindle::runtime {
namespace {

class HeapTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto m = Machine::create();
        ASSERT_TRUE(m.has_value());
        machine = std::move(*m);
        ASSERT_TRUE(machine->map(kBase, kSize, "heap").has_value());
        heap = std::make_unique<Heap>(*machine, kBase, kSize);
        heap->ignore_range(0x01000000, 0x01000100);
    }
    static constexpr uint32_t kBase = 0x10000000;
    static constexpr uint32_t kSize = 0x2000;
    std::unique_ptr<Machine> machine;
    std::unique_ptr<Heap> heap;
};

TEST_F(HeapTest, CountsLiveBlocksAndReusesFreedOnes) {
    auto a = heap->allocate(10), b = heap->allocate(0), c = heap->allocate_text("abc");
    ASSERT_TRUE(a && b && c);
    EXPECT_NE(*a, *b);
    EXPECT_EQ(heap->live_blocks(), 3u);
    EXPECT_EQ(*machine->read_text(*c), "abc");
    ASSERT_EQ(heap->release(*a), Heap::Release::Freed);
    EXPECT_EQ(heap->live_blocks(), 2u);
    // A freed block comes back zeroed for the next request of its size.
    machine->host(*c, 4)[0] = 'x';
    ASSERT_EQ(heap->release(*c), Heap::Release::Freed);
    auto d = heap->allocate(4);
    EXPECT_EQ(*d, *c);
    EXPECT_EQ(machine->host(*d, 1)[0], 0);
    heap->release(*b);
    heap->release(*d);
    EXPECT_EQ(heap->live_blocks(), 0u);
}

TEST_F(HeapTest, LeavesConstantDataAlone) {
    EXPECT_EQ(heap->release(0x01000000), Heap::Release::Ignored);
    EXPECT_EQ(heap->release(0x010000FF), Heap::Release::Ignored);
    EXPECT_EQ(heap->live_blocks(), 0u);
}

TEST_F(HeapTest, RefusesWhatItNeverHandedOut) {
    auto a = heap->allocate(32);
    ASSERT_TRUE(a);
    EXPECT_EQ(heap->release(0x01000100).error().describe(),
              "address at 0x1000100: release of memory the kernel never handed out");
    EXPECT_EQ(heap->release(*a + 4).error().describe(),
              "address at 0x10000004: release of a block that is not live (released twice, or not a block's start)");
    ASSERT_TRUE(heap->release(*a));
    EXPECT_FALSE(heap->release(*a));
    EXPECT_EQ(heap->live_blocks(), 0u);
}

TEST_F(HeapTest, ReportsExhaustion) {
    auto big = heap->allocate(kSize);
    ASSERT_TRUE(big);
    auto more = heap->allocate(1);
    ASSERT_FALSE(more);
    EXPECT_EQ(more.error().describe(), "size: heap exhausted: block of 1 bytes");
    EXPECT_FALSE(heap->allocate(0xFFFFFFFF));
}

}  // namespace
}  // namespace brindle::runtime
