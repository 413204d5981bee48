#include <gtest/gtest.h>

#include <cstring>

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
    // A freed block comes back zeroed.
    machine->host(*a, 4)[0] = 'x';
    machine->host(*c, 4)[0] = 'x';
    ASSERT_EQ(heap->release(*c), Heap::Release::Freed);
    auto d = heap->allocate(4);
    EXPECT_TRUE(*d == *a || *d == *c);
    EXPECT_EQ(machine->host(*d, 1)[0], 0);
    ASSERT_EQ(heap->release(*b), Heap::Release::Freed);
    ASSERT_EQ(heap->release(*d), Heap::Release::Freed);
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
    EXPECT_EQ(more.error().describe(), "size: heap exhausted: no room for a block of 1 bytes within the heap's 8192 bytes");
    EXPECT_EQ(heap->take_exhaustion(), 1u);
    EXPECT_EQ(heap->take_exhaustion(), std::nullopt);
    EXPECT_FALSE(heap->allocate(0xFFFFFFFF));
    ASSERT_TRUE(heap->release(*big));
    EXPECT_TRUE(heap->allocate(kSize));
}

TEST_F(HeapTest, SplitsFreedBlocksAndMergesNeighbours) {
    // Freed blocks serve later, larger requests: 1, 2, 2.1 then 2.2 units twice at once, in 8 units.
    for (uint32_t size : {0x400u, 0x800u, 0x840u, 0x880u}) {
        auto read = heap->allocate(size), copy = heap->allocate(size);
        ASSERT_TRUE(read && copy) << size;
        ASSERT_TRUE(heap->release(*read) && heap->release(*copy));
    }
    EXPECT_EQ(heap->live_blocks(), 0u);
    // Three neighbours freed in any order become one block again.
    auto a = heap->allocate(0x100), b = heap->allocate(0x100), c = heap->allocate(0x100);
    ASSERT_TRUE(heap->release(*a) && heap->release(*c) && heap->release(*b));
    auto whole = heap->allocate(kSize);
    ASSERT_TRUE(whole);
    EXPECT_EQ(*whole, kBase);
    // A small block carved from a large free one leaves the rest free.
    ASSERT_TRUE(heap->release(*whole));
    auto small = heap->allocate(0x10), rest = heap->allocate(kSize - 0x10);
    ASSERT_TRUE(small && rest);
    EXPECT_EQ(*rest, kBase + 0x10);
}

TEST(GrowingHeap, MapsMoreGuestMemoryUpToItsLimit) {
    auto m = Machine::create();
    ASSERT_TRUE(m);
    Machine& machine = **m;
    constexpr uint32_t kBase = 0x10000000, kLimit = 0x400000;
    ASSERT_TRUE(machine.map_growable(kBase, 0x1000, kLimit, "heap"));
    Heap heap(machine, kBase, 0x1000, kLimit);
    auto small = heap.allocate(0x800);
    auto large = heap.allocate(0x180000);  // beyond what is mapped
    ASSERT_TRUE(small && large) << large.error().describe();
    EXPECT_GE(heap.size(), 0x181000u);
    // The block lies across the first mapping's end and is one piece for the host.
    ASSERT_NE(machine.host(*large, 0x180000), nullptr);
    machine.host(*large, 0x180000)[0x17FFFF] = 'z';
    EXPECT_EQ(*machine.read_u32(*large + 0x17FFFC), uint32_t('z') << 24);
    EXPECT_EQ(heap.allocate(kLimit).error().describe(),
              "size: heap exhausted: no room for a block of 4194304 bytes within the heap's 4 MiB");
    ASSERT_TRUE(heap.release(*large));
    EXPECT_TRUE(heap.allocate(kLimit - 0x1000));
    EXPECT_EQ(heap.size(), kLimit);
}

// A freed block of 256 KiB and more goes back to the host in whole host pages (4, 16 or 64 KiB): the
// block's last page is shared with the next block, whose bytes stay.
TEST(GrowingHeap, GivesFreedMemoryBackWithoutTouchingTheNextBlock) {
    auto m = Machine::create();
    ASSERT_TRUE(m);
    Machine& machine = **m;
    constexpr uint32_t kBase = 0x10000000, kSize = 0x100000;
    ASSERT_TRUE(machine.map(kBase, kSize, "heap"));
    Heap heap(machine, kBase, kSize);
    auto before = heap.allocate(0x10000), freed = heap.allocate(0x41000), after = heap.allocate(0x100);
    ASSERT_TRUE(before && freed && after);
    ASSERT_EQ(*freed, kBase + 0x10000);
    ASSERT_EQ(*after, kBase + 0x51000);
    std::memset(machine.host(*freed, 0x41000), 0xAB, 0x41000);
    std::memset(machine.host(*after, 0x100), 0xCD, 0x100);
    ASSERT_TRUE(heap.release(*freed));
    EXPECT_EQ(*machine.read_u32(*after), 0xCDCDCDCDu);
    EXPECT_EQ(*machine.read_u32(*after + 0xFC), 0xCDCDCDCDu);
}

// The host protects whole pages of its own size: growing by guest pages from inside a host page works.
TEST(GrowingHeap, GrowsByGuestPagesWhateverTheHostPageSize) {
    auto m = Machine::create();
    ASSERT_TRUE(m);
    Machine& machine = **m;
    constexpr uint32_t kBase = 0x10000000;
    ASSERT_TRUE(machine.map_growable(kBase, 0x1000, 0x100000, "heap"));
    ASSERT_TRUE(machine.write_u32(kBase, 0x11223344));
    for (uint32_t size = 0x2000; size <= 0x22000; size += 0x1000) {
        ASSERT_TRUE(machine.grow(kBase, size)) << size;
        ASSERT_TRUE(machine.write_u32(kBase + size - 4, size));
    }
    EXPECT_EQ(*machine.read_u32(kBase), 0x11223344u);
    EXPECT_EQ(*machine.read_u32(kBase + 0x21FFC), 0x22000u);
}

TEST(GrowingHeap, ALimitThatDoublingOvershootsIsUsableToItsLastByte) {
    auto m = Machine::create();
    ASSERT_TRUE(m);
    Machine& machine = **m;
    constexpr uint32_t kBase = 0x10000000, kStart = 0x100000, kLimit = 0x300000;
    ASSERT_TRUE(machine.map_growable(kBase, kStart, kLimit, "heap"));
    Heap heap(machine, kBase, kStart, kLimit);
    auto first = heap.allocate(0x180000);  // 1 MiB doubles to 2
    ASSERT_TRUE(first) << first.error().describe();
    EXPECT_EQ(heap.size(), 0x200000u);
    auto second = heap.allocate(0x100000);  // 2 MiB would double to 4: stops at the limit
    ASSERT_TRUE(second) << second.error().describe();
    EXPECT_EQ(heap.size(), kLimit);
    auto rest = heap.allocate(kLimit - 0x280000);
    ASSERT_TRUE(rest) << rest.error().describe();
    EXPECT_EQ(heap.allocate(1).error().describe(),
              "size: heap exhausted: no room for a block of 1 bytes within the heap's 3 MiB");
}

}  // namespace
}  // namespace brindle::runtime
