#include "tests/runtime/kernel_fixture.h"

namespace brindle::runtime::testing {
namespace {

using EventsTest = KernelTest;
namespace prop = abi::property;

TEST_F(EventsTest, EventDuringAMessageBoxRunsAfterTheRoutine) {
    uint32_t first = program.here();
    program.command(abi::command::kMessageBox, {Arg::text("wait"), Arg::integer(0)});
    program.write_property_text(kWindow, kOutput, "first");
    program.ret();
    uint32_t second = program.here();
    program.write_property_text(kWindow, kEdit, "second");
    program.ret();
    load();
    ui.on_message_box = [&](const RecordingUi::MessageBox&) {
        ui.post({second, {}});
        EXPECT_EQ(kernel->dispatcher().queued(), 1u);
        EXPECT_FALSE(ui.properties.contains({kWindow, kEdit, prop::kText}));
        return 1;
    };
    ui.post({first, {}});
    EXPECT_EQ(ui.log, (std::vector<std::string>{"message box", "write 0x52010001 0x16000011 8",
                                                "write 0x52010001 0x16000010 8"}));
    EXPECT_EQ(kernel->dispatcher().queued(), 0u);
}

TEST_F(EventsTest, RoutineWithAnArgumentTakesItFromTheStack) {
    uint32_t handler = program.here();
    program.raw({0x8B, 0x44, 0x24, 0x04});  // mov eax, [esp+4]
    program.write_property_eax(kWindow, kEdit, prop::kSelection);
    program.raw({0xC2, 0x04, 0x00});  // ret 4
    load();
    ui.post({handler, {0x202}});
    ui.post({handler, {0x205}});
    EXPECT_EQ(std::get<int32_t>(ui.properties[{kWindow, kEdit, prop::kSelection}]), 0x205);
    EXPECT_EQ(ui.log.size(), 2u);
}

TEST_F(EventsTest, MalformedEventsAreReported) {
    uint32_t handler = program.here();
    program.write_property_text(kWindow, kOutput, "ran");
    program.ret();
    load();
    ui.post({handler, std::vector<uint32_t>(17, 0)});
    EXPECT_EQ(ui.faults, std::vector<std::string>{"event not run: a routine takes at most 16 arguments, not 17"});
    EXPECT_FALSE(kernel->ended());
    ui.post({0x100000, {}});
    EXPECT_EQ(ui.faults.back(), "event routine at code offset 1048576 lies outside the code");
    EXPECT_TRUE(kernel->ended());
    ui.post({handler, {}});  // nothing runs after the end
    EXPECT_TRUE(ui.properties.empty());
}

// The entry routine: clear direction, reset the FPU, call the empty initialisation routine, hand the
// empty routine to entry 0x30 with selector 3, show the main window, run the event loop, end.
class EventsProgramTest : public KernelTest {
protected:
    uint32_t write_output_routine(const std::string& text, uint32_t element = kOutput) {
        uint32_t at = program.here();
        program.write_property_text(kWindow, element, text);
        program.ret();
        return at;
    }
    void build_entry() {
        empty_init = program.here();
        program.ret();
        empty_accepted = program.here();
        program.ret();
        entry = program.here();
        program.raw({0xFC, 0xDB, 0xE3});  // cld; fninit
        program.raw({0xE8});
        uint32_t rel = empty_init - (program.here() + 4);
        program.raw({uint8_t(rel), uint8_t(rel >> 8), uint8_t(rel >> 16), uint8_t(rel >> 24)});
        program.mov_eax_imm(abi::kAcceptRoutineSelector);
        program.push_code_address(empty_accepted);
        program.call_thunk(abi::service::kAcceptRoutine);
        program.add_esp(4);
        program.push_imm(kWindow);
        program.call_thunk(abi::service::kShowWindow);
        program.add_esp(4);
        program.push_imm(0);
        program.call_thunk(abi::service::kEventLoop);
        program.call_thunk(abi::service::kEndProgram);
        program.ret();
    }
    uint32_t empty_init = 0, empty_accepted = 0, entry = 0;
};

TEST_F(EventsProgramTest, EntryRoutineRunsTheLoopAndEndsTheProgram) {
    uint32_t created = write_output_routine("created");
    uint32_t clicked = write_output_routine("clicked", kEdit);
    build_entry();
    ui.creation_events[kWindow] = {created, {}};
    ui.scripted_events = {{clicked, {}}, {clicked, {}}};
    load(entry);
    auto r = kernel->run();
    ASSERT_TRUE(r) << r.error().describe();
    EXPECT_TRUE(kernel->ended());
    EXPECT_EQ(kernel->accepted_routine(), kernel->program().code_address(empty_accepted));
    // The creation event waits for the entry routine to reach the loop, then runs before the loop's events.
    EXPECT_EQ(ui.log, (std::vector<std::string>{"create 0x52010001", "write 0x52010001 0x16000011 8", "loop",
                                                "write 0x52010001 0x16000010 8", "write 0x52010001 0x16000010 8"}));
    EXPECT_TRUE(ui.faults.empty());
    EXPECT_EQ(kernel->heap().live_blocks(), 0u);
}

TEST_F(EventsProgramTest, EndInsideAnEventStopsTheLoop) {
    uint32_t quit = program.here();
    program.push_imm(0);
    program.call_thunk(abi::service::kEndProgram);
    program.ret();
    uint32_t clicked = write_output_routine("clicked");
    build_entry();
    ui.scripted_events = {{quit, {}}, {clicked, {}}};
    load(entry);
    ASSERT_TRUE(kernel->run());
    EXPECT_EQ(ui.log, (std::vector<std::string>{"create 0x52010001", "loop"}));
}

TEST_F(EventsProgramTest, EventRoutineAskingForTheLoopIsAFault) {
    uint32_t bad = program.here();
    program.push_imm(0);
    program.call_thunk(abi::service::kEventLoop);
    program.ret();
    build_entry();
    ui.scripted_events = {{bad, {}}};
    load(entry);
    auto r = kernel->run();
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().message, "the event loop was asked for by an event routine");
}

}  // namespace
}  // namespace brindle::runtime::testing
