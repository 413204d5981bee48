#include "tests/runtime/kernel_fixture.h"
#include "tests/runtime/trace_capture.h"

namespace brindle::runtime::testing {
namespace {

using ServicesTest = KernelTest;
namespace prop = abi::property;

TEST_F(ServicesTest, PropertyTextReadIsANewBlockAndWriteIsCopied) {
    ui.properties[{kWindow, kEdit, prop::kText}] = std::string("ab\xD6\xD0\xCE\xC4");
    uint32_t start = program.here();
    program.read_property(kWindow, kEdit, prop::kText);
    program.mov_esi_eax();
    program.write_property_eax(kWindow, kOutput, prop::kText);
    program.release_esi();
    program.ret();
    load();
    ASSERT_TRUE(call(start));
    EXPECT_EQ(std::get<std::string>(ui.properties[{kWindow, kOutput, prop::kText}]), "ab\xD6\xD0\xCE\xC4");
    EXPECT_EQ(kernel->heap().live_blocks(), 0u);
    EXPECT_TRUE(kernel->faults().empty());
}

TEST_F(ServicesTest, PropertyIntegersPassUnchanged) {
    ui.properties[{kWindow, kEdit, prop::kSelection}] = int32_t{-3};
    uint32_t start = program.here();
    program.read_property(kWindow, kEdit, prop::kSelection);
    program.write_property_eax(kWindow, kWindowElement, prop::kVisible);
    program.mov_eax_imm(0);
    program.write_property_eax(kWindow, kOutput, prop::kText);  // a null text writes the empty text
    program.read_property(kWindow, kEdit, prop::kChecked);       // never set: 0
    program.ret();
    load();
    auto eax = call(start);
    ASSERT_TRUE(eax);
    EXPECT_EQ(*eax, 0u);
    EXPECT_EQ(std::get<int32_t>(ui.properties[{kWindow, kWindowElement, prop::kVisible}]), -3);
    EXPECT_EQ(std::get<std::string>(ui.properties[{kWindow, kOutput, prop::kText}]), "");
}

TEST_F(ServicesTest, AllocateAndReleaseKeepTheCount) {
    uint32_t start = program.here();
    program.push_imm(100);
    program.call_thunk(abi::service::kAllocate);
    program.add_esp(4);
    program.ret();
    uint32_t release_const = program.here();
    program.mov_eax_const_text("constant");
    program.release_eax();
    program.ret();
    load();
    auto block = call(start);
    ASSERT_TRUE(block);
    EXPECT_TRUE(kernel->heap().is_live(*block));
    EXPECT_EQ(kernel->heap().live_blocks(), 1u);
    ASSERT_TRUE(call(release_const));
    EXPECT_TRUE(kernel->faults().empty());
    EXPECT_EQ(kernel->heap().release(*block), Heap::Release::Freed);
}

TEST_F(ServicesTest, ReleaseOfAWildPointerIsReportedAndTheRoutineGoesOn) {
    uint32_t start = program.here();
    program.mov_eax_imm(0x00001234);
    program.release_eax();
    program.mov_eax_imm(77);
    program.ret();
    load();
    auto eax = call(start);
    ASSERT_TRUE(eax);
    EXPECT_EQ(*eax, 77u);
    ASSERT_EQ(ui.faults.size(), 1u);
    EXPECT_EQ(ui.faults[0], "release: address at 0x1234: release of memory the kernel never handed out");
    EXPECT_FALSE(kernel->ended());
}

TEST_F(ServicesTest, ArrayIndexErrorReportsAndEndsTheProgram) {
    uint32_t start = program.here();
    program.push_imm(abi::kErrorArrayIndex);
    program.call_thunk(abi::service::kArrayIndexError);
    program.write_property_text(kWindow, kOutput, "not reached");
    program.ret();
    load();
    auto r = call(start);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().message, "array index out of range");
    EXPECT_EQ(ui.faults, std::vector<std::string>{"array index out of range"});
    EXPECT_TRUE(kernel->ended());
    EXPECT_FALSE(ui.properties.contains({kWindow, kOutput, prop::kText}));
    EXPECT_FALSE(call(start));  // nothing runs after the end
}

TEST_F(ServicesTest, EntriesWithoutAServiceEndTheProgram) {
    uint32_t start = program.here();
    program.call_thunk(0x1C);
    program.ret();
    load();
    auto r = call(start);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().message, "service table entry 0x1C is not provided");
}

TEST_F(ServicesTest, EndProgramStopsTheRoutine) {
    uint32_t start = program.here();
    program.push_imm(0);
    program.call_thunk(abi::service::kEndProgram);
    program.write_property_text(kWindow, kOutput, "not reached");
    program.ret();
    load();
    EXPECT_TRUE(call(start));
    EXPECT_TRUE(kernel->ended());
    EXPECT_TRUE(ui.faults.empty());
    EXPECT_FALSE(ui.properties.contains({kWindow, kOutput, prop::kText}));
}

// With services traced, each call is one line: the entry's name and the arguments as the routine
// passed them, texts decoded and quoted.
TEST_F(ServicesTest, TracedCallsAreOneLineEachWithTheirArguments) {
    ui.properties[{kWindow, kEdit, prop::kText}] = std::string("typed");
    uint32_t start = program.here();
    program.read_property(kWindow, kEdit, prop::kText);
    program.release_eax();
    program.write_property_text(kWindow, kOutput, "\xD6\xD0\r\n\"x\"");
    program.mov_eax_imm(1);
    program.write_property_eax(kWindow, kEdit, prop::kChecked);
    program.command(abi::command::kMessageBox, {Arg::text("\xC4\xE3\xBA\xC3"), Arg::integer(-64), Arg::omitted(),
                                                Arg::real(0.5f), Arg::window(kWindow, kEdit)});
    program.ret();
    load();
    TraceCapture capture(trace::kServices);
    ASSERT_TRUE(call(start));
    EXPECT_EQ(capture.lines(),
              (std::vector<std::string>{
                  "service ReadProperty window=0x52010001 element=0x16000010 property=8",
                  "service Release address=0x10000000",
                  "service WriteProperty window=0x52010001 element=0x16000011 property=8 value=\"中\\r\\n\\\"x\\\"\"",
                  "service WriteProperty window=0x52010001 element=0x16000010 property=18 value=1",
                  "service KernelCommand command=0x300 arguments=(\"你好\", -64, omitted, 0.5, 0x52010001/0x16000010)",
              }));
}

TEST_F(ServicesTest, ProcessorFaultIsReportedNotACrash) {
    uint32_t start = program.here();
    program.mov_eax_imm(0x7FFF0000);
    program.raw({0x8B, 0x00});  // mov eax, [eax]
    program.ret();
    load();
    auto r = call(start);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().message.rfind("processor fault: ", 0), 0u) << r.error().message;
    EXPECT_TRUE(kernel->ended());
    EXPECT_EQ(ui.faults.size(), 1u);
}

}  // namespace
}  // namespace brindle::runtime::testing
