// Routines that never finish or want more memory than there is: the routine ends, the program and
// what the user typed stay.
#include <cstdlib>

#include "common/hex.h"
#include "runtime/memory_map.h"
#include "tests/runtime/kernel_fixture.h"

namespace brindle::runtime::testing {
namespace {

using RoutineLimitsTest = KernelTest;
namespace prop = abi::property;
using abi::service::kAllocate;

constexpr uint8_t kJumpToSelf[] = {0xEB, 0xFE};

std::string text_of(RecordingUi& ui, uint32_t element) {
    auto it = ui.properties.find({kWindow, element, prop::kText});
    return it == ui.properties.end() ? "<unset>" : std::get<std::string>(it->second);
}

TEST_F(RoutineLimitsTest, ARoutineThatNeverFinishesIsStoppedAndTheProgramGoesOn) {
    ui.properties[{kWindow, kEdit, prop::kText}] = std::string("typed");
    uint32_t looping = program.here();
    program.read_property(kWindow, kEdit, prop::kText);  // a block it will never release
    uint32_t loop = program.here();
    program.raw({kJumpToSelf[0], kJumpToSelf[1]});
    uint32_t writing = program.here();
    program.write_property_text(kWindow, kOutput, "after");
    program.ret();
    load();
    kernel->set_routine_time_limit(std::chrono::milliseconds(50));
    ui.post({looping, {}});
    EXPECT_EQ(ui.faults, std::vector<std::string>{"This action was stopped: its routine ran for 50 ms of processor time "
                                                  "without finishing (stopped at " +
                                                  hex(memory_map::kCodeBase + loop) +
                                                  "). The program goes on, and what you typed is kept."});
    EXPECT_FALSE(kernel->ended());
    EXPECT_EQ(kernel->heap().live_blocks(), 0u);
    ui.post({writing, {}});
    EXPECT_EQ(text_of(ui, kOutput), "after");
    EXPECT_EQ(text_of(ui, kEdit), "typed");
    EXPECT_EQ(ui.faults.size(), 1u);
}

TEST_F(RoutineLimitsTest, ARoutineThatHaltsTheProcessorIsStopped) {
    uint32_t halting = program.here();
    program.raw({0xF4});
    program.ret();
    load();
    ui.post({halting, {}});
    EXPECT_EQ(ui.faults, std::vector<std::string>{"This action was stopped: its routine halted the processor (at " +
                                                  hex(memory_map::kCodeBase + halting + 1) +
                                                  "). The program goes on, and what you typed is kept."});
    EXPECT_FALSE(kernel->ended());
}

TEST_F(RoutineLimitsTest, AnEntryRoutineThatNeverReachesTheLoopEndsTheProgram) {
    program.raw({kJumpToSelf[0], kJumpToSelf[1]});
    load(program.here() - 2);
    kernel->set_routine_time_limit(std::chrono::milliseconds(50));
    auto r = kernel->run();
    ASSERT_FALSE(r);
    const std::string message = "The program was stopped: its entry routine ran for 50 ms of processor time without "
                                "finishing (stopped at " + hex(kernel->program().entry_address()) + ").";
    EXPECT_EQ(r.error().message, message);
    EXPECT_EQ(ui.faults, std::vector<std::string>{message});
    EXPECT_TRUE(kernel->ended());
}

TEST_F(RoutineLimitsTest, RunningOutOfMemoryEndsTheRoutineNotTheProgram) {
    uint32_t greedy = program.here();
    program.push_imm(0x100);
    program.call_thunk(kAllocate);
    program.add_esp(4);
    program.push_imm(0x7FFFFFF0);
    program.call_thunk(kAllocate);
    program.add_esp(4);
    program.write_property_text(kWindow, kOutput, "never");
    program.ret();
    uint32_t writing = program.here();
    program.write_property_text(kWindow, kOutput, "after");
    program.ret();
    load();
    ui.post({greedy, {}});
    EXPECT_EQ(ui.faults, std::vector<std::string>{"This action was stopped: its routine needs a block of 2147483632 "
                                                  "bytes, and the 1024 MiB that texts may take are full. The program "
                                                  "goes on, and what you typed is kept."});
    EXPECT_EQ(text_of(ui, kOutput), "<unset>");
    EXPECT_EQ(kernel->heap().live_blocks(), 0u);
    ui.post({writing, {}});
    EXPECT_EQ(text_of(ui, kOutput), "after");
}

TEST_F(RoutineLimitsTest, TextsLargerThanTheFirstHeapMappingFit) {
    // 100 MB: more than the heap maps at first, and than the whole heap held before it could grow.
    constexpr uint32_t kLength = 100 << 20;
    std::string big(kLength, 'x');
    big.back() = 'y';
    ui.properties[{kWindow, kEdit, prop::kText}] = big;
    uint32_t copy = program.here();
    program.read_property(kWindow, kEdit, prop::kText);
    program.mov_esi_eax();
    program.command(abi::command::kSetClipboardText, {Arg::from_eax(abi::tag::kText)});
    // movzx eax, byte [esi + kLength - 1]: the emulated processor reaches the grown part too.
    program.raw({0x0F, 0xB6, 0x86});
    uint32_t last = kLength - 1;
    program.raw({uint8_t(last), uint8_t(last >> 8), uint8_t(last >> 16), uint8_t(last >> 24)});
    program.write_property_eax(kWindow, kOutput, prop::kSelection);
    program.release_esi();
    program.ret();
    load();
    auto r = call(copy);
    ASSERT_TRUE(r) << r.error().describe();
    ASSERT_EQ(ui.clipboard.size(), 1u);
    EXPECT_TRUE(ui.clipboard[0] == big);
    EXPECT_EQ(std::get<int32_t>(ui.properties[{kWindow, kOutput, prop::kSelection}]), 'y');
    EXPECT_EQ(kernel->heap().live_blocks(), 0u);
}

TEST(RoutineBudget, BrindleTimeScaleMultipliesTheTenSeconds) {
    EXPECT_EQ(*routine_time_limit(nullptr), std::chrono::seconds(10));
    EXPECT_EQ(*routine_time_limit("1"), std::chrono::seconds(10));
    EXPECT_EQ(*routine_time_limit("8"), std::chrono::seconds(80));
    EXPECT_EQ(*routine_time_limit("1000"), std::chrono::seconds(10000));
    for (const char* bad : {"", "0", "-2", "1001", "2.5", "8 ", "x", "99999999999"})
        EXPECT_EQ(routine_time_limit(bad).error().describe(),
                  std::string("BRINDLE_TIME_SCALE is \"") + bad +
                      "\": it multiplies the 10 s a routine may run, and must be a whole number from 1 to 1000")
            << bad;
}

TEST(RoutineBudget, AKernelRefusesToStartWithAScaleItCannotRead) {
    RecordingUi ui;
    ASSERT_EQ(::setenv(kTimeScaleVariable, "ten", 1), 0);
    auto kernel = Kernel::create(ui);
    ::unsetenv(kTimeScaleVariable);
    ASSERT_FALSE(kernel);
    EXPECT_EQ(kernel.error().describe(),
              "BRINDLE_TIME_SCALE is \"ten\": it multiplies the 10 s a routine may run, and must be a whole number "
              "from 1 to 1000");
}

}  // namespace
}  // namespace brindle::runtime::testing
