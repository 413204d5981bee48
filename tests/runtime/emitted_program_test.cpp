// Routines written with the emitter's builder API, laid out by the image writer, run by the kernel.
#include <bit>

#include "image/constant_pool.h"
#include "codegen/program.h"
#include "image/image_writer.h"
#include "tests/runtime/kernel_fixture.h"
#include "tests/support/closing_image.h"

namespace brindle::runtime::testing {
namespace {

namespace emit = codegen;
namespace prop = abi::property;

constexpr uint32_t kLength = 0x16000012;
constexpr emit::Control kEditControl{kWindow, kEdit};
constexpr emit::Control kLengthControl{kWindow, kLength};
constexpr emit::Control kOutputControl{kWindow, kOutput};

class KernelEmittedTest : public ::testing::Test {
protected:
    // Finishes the program, writes the image, opens it and loads it into a fresh kernel.
    void load(emit::Program& program) {
        auto code = program.finish();
        ASSERT_TRUE(code) << code.error().describe();
        image::ImageParts parts = emit::image_parts(std::move(*code), pool);
        parts.libraries = {test::kernel_library_record()};
        auto bytes = image::write_image(parts);
        ASSERT_TRUE(bytes) << bytes.error().describe();
        image_bytes = std::move(*bytes);
        auto opened = image::open_image(image_bytes);
        ASSERT_TRUE(opened) << opened.error().describe();
        auto program_parts_ = program_parts(*opened);
        ASSERT_TRUE(program_parts_);
        auto k = Kernel::create(ui);
        ASSERT_TRUE(k);
        kernel = std::move(*k);
        auto r = kernel->load(*program_parts_, LoadLayout{0x00600000, 0x01200000, 0x02200000});
        ASSERT_TRUE(r) << r.error().describe();
    }
    void click(uint32_t routine) {
        ui.post({routine, {}});
        EXPECT_EQ(kernel->heap().live_blocks(), 0u) << "a routine kept a text it obtained";
        EXPECT_EQ(ui.faults, std::vector<std::string>{});
    }

    image::ConstantPool pool;
    Bytes image_bytes;
    RecordingUi ui;
    std::unique_ptr<Kernel> kernel;
};

TEST_F(KernelEmittedTest, BuilderRoutineReadsConvertsJoinsAndWrites) {
    emit::Program program(pool, kWindow);
    uint32_t build = program.add_routine("build", [&](emit::Routine& r) {
        emit::TextVar row = r.text_var();
        emit::DoubleVar length = r.double_var();
        r.set(row, r.read_text(kEditControl));
        r.set(length, r.to_number(r.read_text(kLengthControl)));
        r.if_(r.is_empty(row), [&] { r.message_box("请选择样式。", abi::style::kInformation); });
        r.write_text(kOutputControl,
                     r.concat({"{dede:list row='", row, "' titlelen='", r.to_text(length * 2.0), "'}\r\n", "", row}));
    });
    load(program);

    ui.properties[{kWindow, kEdit, prop::kText}] = std::string("10");
    ui.properties[{kWindow, kLength, prop::kText}] = std::string(" 15");
    click(build);
    EXPECT_EQ(std::get<std::string>(ui.properties[{kWindow, kOutput, prop::kText}]),
              "{dede:list row='10' titlelen='30'}\r\n10");
    EXPECT_TRUE(ui.message_boxes.empty());

    ui.properties.erase({kWindow, kEdit, prop::kText});
    ui.properties[{kWindow, kLength, prop::kText}] = std::string("abc");
    click(build);
    EXPECT_EQ(std::get<std::string>(ui.properties[{kWindow, kOutput, prop::kText}]),
              "{dede:list row='' titlelen='0'}\r\n");
    ASSERT_EQ(ui.message_boxes.size(), 1u);
    EXPECT_EQ(ui.message_boxes[0], (RecordingUi::MessageBox{"\xC7\xEB\xD1\xA1\xD4\xF1\xD1\xF9\xCA\xBD\xA1\xA3",
                                                            abi::style::kInformation, std::nullopt}));
}

TEST_F(KernelEmittedTest, CopyButtonAndTrayEventReachTheDesktop) {
    emit::Program program(pool, kWindow);
    uint32_t copy = program.add_routine("copy", [&](emit::Routine& r) {
        r.set_clipboard(r.read_text(kOutputControl));
        r.message_box("复制成功！", abi::style::kPlain);
    });
    const Bytes icon = {0, 0, 1, 0, 1, 0};
    uint32_t tray = program.add_routine("tray", [&](emit::Routine& r) {
        r.place_tray_icon({kWindow, kWindowElement}, icon, "Brindle");
        r.write_int({kWindow, kEdit}, prop::kSelection, r.argument(0));
    }, 1);
    load(program);

    ui.properties[{kWindow, kOutput, prop::kText}] = std::string("{dede:field.title/}");
    click(copy);
    EXPECT_EQ(ui.clipboard, std::vector<std::string>{"{dede:field.title/}"});
    ASSERT_EQ(ui.message_boxes.size(), 1u);
    EXPECT_EQ(ui.message_boxes[0].text, "\xB8\xB4\xD6\xC6\xB3\xC9\xB9\xA6\xA3\xA1");

    ui.post({tray, {0x205}});
    EXPECT_EQ(std::get<int32_t>(ui.properties[{kWindow, kEdit, prop::kSelection}]), 0x205);
    ASSERT_EQ(ui.tray_icons.size(), 1u);
    EXPECT_EQ(ui.tray_icons[0].icon_file, icon);
    EXPECT_EQ(ui.tray_icons[0].tooltip, "Brindle");
    EXPECT_EQ(kernel->heap().live_blocks(), 0u);
}

TEST_F(KernelEmittedTest, HelpersCompareNullAsEmptyBytesUnsignedAndTruncateTowardZero) {
    emit::Program program(pool, kWindow);
    uint32_t results = 0x16000020;
    uint32_t routine = program.add_routine("helpers", [&](emit::Routine& r) {
        emit::TextVar null_text = r.text_var();
        emit::TextVar lead_byte = r.text_var();
        r.set(lead_byte, r.read_text(kEditControl));
        uint32_t at = results;
        auto put = [&](const emit::Int& value) { r.write_int({kWindow, at++}, prop::kSelection, value); };
        put(r.compare(null_text, ""));
        put(r.compare("", null_text));
        put(r.compare(null_text, "a"));
        put(r.compare("a", null_text));
        put(r.compare(lead_byte, "z"));
        put(r.compare("z", lead_byte));
        put(r.compare("ab", "a"));
        put(r.compare("a", "a"));
        put(r.truncate(r.to_number(r.read_text(kLengthControl))));
        r.write_text(kOutputControl, r.concat({null_text, "only", null_text, null_text}));
    });
    load(program);
    ui.properties[{kWindow, kEdit, prop::kText}] = std::string("\xB0\xA1");
    ui.properties[{kWindow, kLength, prop::kText}] = std::string("-2.7");
    click(routine);
    std::vector<int32_t> got;
    for (uint32_t id = results; id < results + 9; ++id) got.push_back(std::get<int32_t>(ui.properties[{kWindow, id, prop::kSelection}]));
    EXPECT_EQ(got, (std::vector<int32_t>{0, 0, -1, 1, 1, -1, 1, 0, -2}));
    EXPECT_EQ(std::get<std::string>(ui.properties[{kWindow, kOutput, prop::kText}]), "only");
}

TEST_F(KernelEmittedTest, ATenMegabyteConcatenationFinishesWithinTheRoutineBudget) {
    emit::Program program(pool, kWindow);
    uint32_t join = program.add_routine("join", [&](emit::Routine& r) {
        r.write_text(kOutputControl, r.concat({"<", r.read_text(kEditControl), ">"}));
    });
    load(program);
    const std::string ten_mb(10 << 20, 'a');
    ui.properties[{kWindow, kEdit, prop::kText}] = ten_mb;
    click(join);
    EXPECT_TRUE(std::get<std::string>(ui.properties[{kWindow, kOutput, prop::kText}]) == "<" + ten_mb + ">");
}

TEST_F(KernelEmittedTest, EntryRoutineShowsTheWindowAndEndsAfterTheLoop) {
    emit::Program program(pool, kWindow);
    uint32_t clicked = program.add_routine("clicked", [&](emit::Routine& r) { r.write_text(kOutputControl, "ok"); });
    load(program);
    ui.scripted_events = {{clicked, {}}};
    auto r = kernel->run();
    ASSERT_TRUE(r) << r.error().describe();
    EXPECT_EQ(ui.log, (std::vector<std::string>{"create 0x52010001", "loop", "write 0x52010001 0x16000011 8"}));
    EXPECT_TRUE(kernel->accepted_routine().has_value());
    EXPECT_TRUE(kernel->ended());
}

}  // namespace
}  // namespace brindle::runtime::testing
