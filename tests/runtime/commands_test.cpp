#include <bit>
#include <cstring>

#include "tests/runtime/kernel_fixture.h"

namespace brindle::runtime::testing {
namespace {

namespace cmd = abi::command;

class CommandsTest : public KernelTest {
protected:
    // Runs one command in a fresh routine; eax (and edx) are its result.
    Result<uint32_t> run(uint32_t number, std::vector<Arg> args) {
        uint32_t start = program.here();
        program.command(number, args);
        program.ret();
        load();
        return call(start);
    }
    // A text result: its bytes, after which the block is released.
    std::string take_text(uint32_t address) {
        std::string t = text_at(address);
        EXPECT_EQ(kernel->heap().release(address), Heap::Release::Freed);
        EXPECT_EQ(kernel->heap().live_blocks(), 0u);
        return t;
    }
    double double_result(uint32_t eax) { return std::bit_cast<double>(uint64_t(kernel->last_edx()) << 32 | eax); }
};

TEST_F(CommandsTest, MessageBoxPassesTextStyleAndTitle) {
    ui.on_message_box = [](const RecordingUi::MessageBox&) { return 1; };
    uint32_t start = program.here();
    program.command(cmd::kMessageBox, {Arg::text("\xB8\xB4\xD6\xC6\xB3\xC9\xB9\xA6\xA3\xA1"), Arg::integer(0x40), Arg::omitted()});
    program.command(cmd::kMessageBox, {Arg::null_text(), Arg::integer(0x30), Arg::text("Title")});
    program.command(cmd::kMessageBox, {Arg::text("two"), Arg::integer(0)});
    program.ret();
    load();
    auto eax = call(start);
    ASSERT_TRUE(eax);
    EXPECT_EQ(*eax, 1u);
    ASSERT_EQ(ui.message_boxes.size(), 3u);
    EXPECT_EQ(ui.message_boxes[0], (RecordingUi::MessageBox{"\xB8\xB4\xD6\xC6\xB3\xC9\xB9\xA6\xA3\xA1", 0x40, std::nullopt}));
    EXPECT_EQ(ui.message_boxes[1], (RecordingUi::MessageBox{"", 0x30, std::string("Title")}));
    EXPECT_EQ(ui.message_boxes[2], (RecordingUi::MessageBox{"two", 0, std::nullopt}));
}

TEST_F(CommandsTest, ClipboardTakesTheText) {
    ASSERT_TRUE(run(cmd::kSetClipboardText, {Arg::text("{dede:list}\r\n")}));
    EXPECT_EQ(ui.clipboard, std::vector<std::string>{"{dede:list}\r\n"});
}

TEST_F(CommandsTest, ToTextOfAWholeDoubleIsPlainDigits) {
    auto eax = run(cmd::kToText, {Arg::number(30.0)});
    ASSERT_TRUE(eax);
    EXPECT_EQ(take_text(*eax), "30");
}

TEST_F(CommandsTest, ToTextOfTextIsAFreshCopy) {
    auto eax = run(cmd::kToText, {Arg::text("abc")});
    ASSERT_TRUE(eax);
    EXPECT_GE(*eax, memory_map::kHeapBase);
    EXPECT_EQ(take_text(*eax), "abc");
}

TEST_F(CommandsTest, ToTextOfIntegerFloatAndFraction) {
    uint32_t start = program.here();
    program.command(cmd::kToText, {Arg::integer(-42)});
    program.mov_var_eax(0);
    program.command(cmd::kToText, {Arg::real(0.1f)});
    program.mov_esi_eax();
    program.command(cmd::kToText, {Arg::number(-2.5)});
    program.ret();
    program.var_size = 4;
    load();
    auto eax = call(start);
    ASSERT_TRUE(eax);
    uint32_t first = *kernel->machine().read_u32(kernel->program().var_base);
    uint32_t second = kernel->machine().reg(Reg::Esi);
    EXPECT_EQ(text_at(first), "-42");
    EXPECT_EQ(text_at(second), "0.1");
    EXPECT_EQ(text_at(*eax), "-2.5");
    EXPECT_EQ(kernel->heap().live_blocks(), 3u);
}

TEST_F(CommandsTest, ToNumberReturnsADoubleInEaxEdx) {
    auto eax = run(cmd::kToNumber, {Arg::text("  -2.5e1x")});
    ASSERT_TRUE(eax);
    EXPECT_EQ(double_result(*eax), -25.0);
}

TEST_F(CommandsTest, ToNumberOfADoubleIsTheSameDouble) {
    auto eax = run(cmd::kToNumber, {Arg::number(0.1)});
    ASSERT_TRUE(eax);
    EXPECT_EQ(double_result(*eax), 0.1);
}

TEST_F(CommandsTest, ToNumberOfNullIsZero) {
    auto eax = run(cmd::kToNumber, {Arg::null_text()});
    ASSERT_TRUE(eax);
    EXPECT_EQ(double_result(*eax), 0.0);
    EXPECT_EQ(kernel->machine().reg(Reg::Edx), 0u);
}

TEST_F(CommandsTest, ToIntegerOfTextAndInteger) {
    auto eax = run(cmd::kToInteger, {Arg::text(" -12abc")});
    ASSERT_TRUE(eax);
    EXPECT_EQ(static_cast<int32_t>(*eax), -12);
}

TEST_F(CommandsTest, ToIntegerOfAnInteger) {
    auto eax = run(cmd::kToInteger, {Arg::integer(123456)});
    ASSERT_TRUE(eax);
    EXPECT_EQ(*eax, 123456u);
}

TEST_F(CommandsTest, CloseWindowAndPopUpMenuTakeReferences) {
    uint32_t start = program.here();
    program.command(cmd::kPopUpMenu, {Arg::window(kWindow, kWindowElement), Arg::menu(kWindow, 0x2601014D)});
    program.command(cmd::kCloseWindow, {Arg::window(kWindow, kWindowElement), Arg::omitted()});
    program.ret();
    load();
    ASSERT_TRUE(call(start));
    EXPECT_EQ(ui.menus, (std::vector<std::pair<uint32_t, uint32_t>>{{kWindow, 0x2601014D}}));
    EXPECT_EQ(ui.closed_windows, std::vector<uint32_t>{kWindow});
}

TEST_F(CommandsTest, TrayIconTakesTheIconBytesAndTooltip) {
    ASSERT_TRUE(run(cmd::kPlaceTrayIcon, {Arg::window(kWindow, kWindowElement), Arg::bytes({0, 0, 1, 0, 0xFF}),
                                          Arg::text("Brindle")}));
    ASSERT_EQ(ui.tray_icons.size(), 1u);
    EXPECT_EQ(ui.tray_icons[0].window_id, kWindow);
    EXPECT_EQ(ui.tray_icons[0].icon_file, (Bytes{0, 0, 1, 0, 0xFF}));
    EXPECT_EQ(ui.tray_icons[0].tooltip, "Brindle");
}

TEST_F(CommandsTest, OpenWebAddressIsExtensionCommandOfLibraryTwo) {
    uint32_t start = program.here();
    program.command(abi::kOpenWebAddress, {Arg::text("http://example.org/")}, abi::service::kExtensionCommand,
                    abi::kBrowserLibrary);
    program.ret();
    load();
    ASSERT_TRUE(call(start));
    EXPECT_EQ(ui.web_addresses, std::vector<std::string>{"http://example.org/"});
}

TEST_F(CommandsTest, UnknownCommandsAndWrongArgumentsEndTheProgramWithAReport) {
    auto r = run(0x123, {});
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().message, "kernel command 0x123: unknown command");
    EXPECT_TRUE(kernel->ended());
}

TEST_F(CommandsTest, WrongArgumentTagIsNamed) {
    auto r = run(cmd::kSetClipboardText, {Arg::integer(5)});
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().message,
              "kernel command 0x2C8: argument 1 (text) must be a text, not type tag 0x80000301");
}

TEST_F(CommandsTest, MissingArgumentIsNamed) {
    auto r = run(cmd::kMessageBox, {Arg::text("x")});
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().message, "kernel command 0x300: argument 2 (style) is missing");
}

TEST_F(CommandsTest, UnknownExtensionCommandIsNamed) {
    uint32_t start = program.here();
    program.command(abi::kOpenWebAddress, {Arg::text("x")}, abi::service::kExtensionCommand, 1);
    program.ret();
    load();
    auto r = call(start);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().message, "unknown command 0xE0 of extension library 1");
}

TEST_F(CommandsTest, ByteBlockWithWrongDimensionsIsRefused) {
    uint32_t start = program.here();
    program.command(cmd::kPlaceTrayIcon, {Arg::window(kWindow, kWindowElement),
                                          Arg{abi::tag::kBytes, 0, uint32_t{memory_map::kHeapBase}}, Arg::text("t")});
    program.ret();
    load();
    ASSERT_TRUE(kernel->heap().allocate(16));  // zeroed: dimension count 0
    auto r = call(start);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().message, "kernel command 0x708: argument 2 (icon): byte block at 0x10000000 has 0 dimensions, not 1");
}

TEST_F(CommandsTest, TextWithoutNulInsideMemoryIsRefused) {
    uint32_t start = program.here();
    program.command(cmd::kSetClipboardText, {Arg{abi::tag::kText, 0, uint32_t{memory_map::kHeapBase + memory_map::kHeapSize - 4}}});
    program.ret();
    load();
    uint8_t* tail = kernel->machine().host(memory_map::kHeapBase + memory_map::kHeapSize - 4, 4);
    std::memset(tail, 'x', 4);
    auto r = call(start);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().message,
              "kernel command 0x2C8: argument 1 (text): text at 0x10FFFFFC: text has no terminating NUL inside its memory");
}

TEST_F(CommandsTest, OversizedArgumentBlockIsRefused) {
    uint32_t start = program.here();
    program.push_imm(100000);
    program.mov_ebx_imm(cmd::kToText);
    program.call_thunk(abi::service::kKernelCommand);
    program.add_esp(4);
    program.ret();
    load();
    auto r = call(start);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().message, "command 0x168: argument count at 0x501FFFE8: argument count 100000 is more than 64");
}

}  // namespace
}  // namespace brindle::runtime::testing
