#include <dlfcn.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <regex>

#include "common/input_file.h"
#include "image/image_writer.h"
#include "runtime/program_start.h"
#include "tests/runtime/kernel_fixture.h"
#include "tests/runtime/trace_capture.h"
#include "tests/support/closing_image.h"
#include "tests/support/exhaust_descriptors.h"

namespace brindle::runtime::testing {
namespace {

using KernelRelocationTest = KernelTest;

// An entry routine that runs the loop once and ends, at the code's end.
uint32_t add_minimal_entry(TestProgram& program) {
    uint32_t entry = program.here();
    program.push_imm(kWindow);
    program.call_thunk(abi::service::kShowWindow);
    program.add_esp(4);
    program.push_imm(0);
    program.call_thunk(abi::service::kEventLoop);
    program.call_thunk(abi::service::kEndProgram);
    return entry;
}

TEST_F(KernelRelocationTest, AllFourKindsAtAnotherLoadAddress) {
    program.constants.add_text("first");
    uint32_t constant = program.here();
    program.mov_eax_const_text("second");
    program.mov_var_eax(4);
    program.mov_eax_imm(0);
    program.mov_eax_var(4);
    program.ret();
    uint32_t code_address = program.here();
    program.push_code_address(constant);
    program.raw({0x58});  // pop eax
    program.ret();
    program.var_size = 8;
    const LoadLayout layout{0x00800000, 0x01800000, 0x02800000};
    load(0, layout);

    auto text = call(constant);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, 0x01800000u + 6);  // after "first\0"
    EXPECT_EQ(text_at(*text), "second");
    EXPECT_EQ(*kernel->machine().read_u32(0x02800004), *text);
    EXPECT_EQ(call(code_address).value(), 0x00800000u + constant);
    for (uint32_t entry = 0; entry < abi::service::kTableSize; entry += 4)
        EXPECT_EQ(*kernel->machine().read_u32(0x00800000 + TestProgram::thunk_offset(entry) + 2),
                  memory_map::kServiceTableBase + entry);
    // The service table is in place: each entry reaches the kernel.
    EXPECT_EQ(*kernel->machine().read_u32(memory_map::kServiceTableBase + abi::service::kRelease),
              memory_map::kStubBase + abi::service::kRelease);
}

TEST_F(KernelRelocationTest, SecondApplicationIsRefused) {
    program.ret();
    load();
    LoadedProgram again = kernel->program();
    auto r = relocate_program(kernel->machine(), again, parts.relocations, memory_map::kServiceTableBase);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().message, "relocation records were already applied; applying them twice corrupts the code");
    EXPECT_EQ(*kernel->machine().read_u32(memory_map::kCodeBase + 2), memory_map::kServiceTableBase);
}

TEST(KernelLoad, BadRecordsLeaveTheCodeUntouched) {
    TestProgram program;
    program.ret();
    ProgramParts parts = program.parts();
    parts.relocations.push_back({image::RelocKind::Const, 0});  // the first thunk's jmp opcode: outside const
    RecordingUi ui;
    auto kernel = Kernel::create(ui);
    ASSERT_TRUE(kernel);
    auto r = (*kernel)->load(parts);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().describe(), "operand: constant operand 0x25FF lies outside the const data");
    EXPECT_EQ(*(*kernel)->machine().read_u32(memory_map::kCodeBase + 2), 0u);
}

TEST(KernelLoad, EntryAndReferencesMustLieInTheCode) {
    TestProgram program;
    program.ret();
    RecordingUi ui;
    auto kernel = Kernel::create(ui);
    ProgramParts parts = program.parts(0x1000);
    EXPECT_EQ((*kernel)->load(parts).error().describe(), "entry offset at 0x1000: entry routine lies outside the code");
    parts = program.parts(0);
    parts.references[0] = {program.here() - 2};
    auto again = Kernel::create(ui);
    EXPECT_EQ((*again)->load(parts).error().describe(),
              "reference at 0x4D: identifier reference list 1 marks an operand outside the code");
}

TEST_F(KernelRelocationTest, RunningARoutineKeepsNoHostMemory) {
    uint32_t routine = program.here();
    program.mov_eax_imm(1);
    program.ret();
    load();
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(call(routine));
    const size_t before = mallinfo2().uordblks;
    constexpr int kRuns = 20000;
    for (int i = 0; i < kRuns; ++i) ASSERT_TRUE(call(routine));
    // The emulator once kept 48 bytes per run (about 1 MB here).
    EXPECT_LT(mallinfo2().uordblks, before + kRuns);
}

// An image written by the image writer around a hand-assembled program.
Bytes write_test_image(TestProgram& program, uint32_t entry) {
    image::ImageParts parts;
    parts.libraries = {test::kernel_library_record()};
    ProgramParts p = program.parts(entry);
    parts.const_data = program.constants.data();
    parts.code = Bytes(p.code.begin(), p.code.end());
    parts.relocations = p.relocations;
    parts.var_size = program.var_size;
    parts.entry_offset = entry;
    auto bytes = image::write_image(parts);
    EXPECT_TRUE(bytes) << bytes.error().describe();
    return bytes ? *bytes : Bytes{};
}

// The run owns its UI; this one hands its log out when the run lets go of it.
struct LogKeepingUi : RecordingUi {
    explicit LogKeepingUi(std::vector<std::string>& out) : out(out) {}
    ~LogKeepingUi() override { out = log; }
    std::vector<std::string>& out;
};

TEST(KernelStart, RunsAnImage) {
    TestProgram program;
    uint32_t created = program.here();
    program.write_property_text(kWindow, kOutput, "shown");
    program.ret();
    uint32_t entry = add_minimal_entry(program);
    Bytes image = write_test_image(program, entry);
    std::vector<std::string> log;
    auto r = run_program_image(image, [&](const image::Image& opened) {
        EXPECT_EQ(opened.entry_code_offset(), entry);
        auto ui = std::make_unique<LogKeepingUi>(log);
        ui->creation_events[kWindow] = {created, {}};
        return ui;
    });
    ASSERT_TRUE(r) << r.error().describe();
    EXPECT_EQ(log, (std::vector<std::string>{"create 0x52010001", "write 0x52010001 0x16000011 8", "loop"}));
}

TEST(KernelStart, TracesItsPhasesAndEvents) {
    TestProgram program;
    uint32_t created = program.here();
    program.ret();
    Bytes image = write_test_image(program, add_minimal_entry(program));
    TraceCapture capture(trace::kPhases | trace::kEvents);
    auto r = run_program_image(image, [&](const image::Image&) {
        auto ui = std::make_unique<RecordingUi>();
        ui->creation_events[kWindow] = {created, {7}};
        return ui;
    });
    ASSERT_TRUE(r) << r.error().describe();
    ASSERT_EQ(capture.lines().size(), 4u);
    const std::regex phase("phase (.+) [0-9]+ [0-9]+");
    std::vector<std::string> phases;
    for (size_t i = 0; i < 3; ++i) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(capture.lines()[i], m, phase)) << capture.lines()[i];
        phases.push_back(m[1]);
    }
    EXPECT_EQ(phases, (std::vector<std::string>{"image opened", "ui made", "emulator loaded"}));
    EXPECT_EQ(created, 0x4Eu);  // after the 13 thunks
    EXPECT_EQ(capture.lines()[3], "event routine=0x4E arguments=(7)");
}

TEST(KernelStart, MalformedImageIsRefusedBeforeAnyEmulation) {
    // The right magic, and a first section header of zeros.
    Bytes junk(0x11000, 0);
    store_u32le(junk.data(), 0x4A57);
    store_u32le(junk.data() + 0x24, 0x10000);
    bool ui_made = false;
    auto r = run_program_image(junk, [&](const image::Image&) {
        ui_made = true;
        return std::make_unique<RecordingUi>();
    });
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().message, "the program image is malformed: name at 0x1000C: section has no name");
    EXPECT_FALSE(ui_made);
    Bytes not_an_image(64, 0x11);
    auto refused = run_program_image(not_an_image, [](const image::Image&) { return std::make_unique<RecordingUi>(); });
    EXPECT_EQ(
        refused.error().message,
        "the program image is malformed: image_magic at 0x0: not a program image: magic 0x11111111, expected 0x4A57");
}

TEST(KernelStartDeathTest, WithoutTextConvertersNothingStarts) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process: no converter opened yet
    EXPECT_EXIT(
        {
            brindle::testing::use_up_file_descriptors();
            Bytes image(64, 0);
            auto r = run_program_image(image, [](const image::Image&) { return std::make_unique<RecordingUi>(); });
            std::fputs(r ? "ran" : r.error().message.c_str(), stderr);
            _exit(r ? 0 : 3);
        },
        ::testing::ExitedWithCode(3), "^texts cannot be converted: cannot open the text converter from GB18030 to UTF-8: ");
}

class KernelLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        handle = dlopen(RTCORE_KERNEL_PATH, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        ASSERT_NE(handle, nullptr) << dlerror();
        get_new_sock = reinterpret_cast<void* (*)(int32_t)>(dlsym(handle, "GetNewSock"));
        ASSERT_NE(get_new_sock, nullptr);
    }
    void TearDown() override {
        if (handle) dlclose(handle);
    }
    void* handle = nullptr;
    void* (*get_new_sock)(int32_t) = nullptr;
};

TEST_F(KernelLibrary, GetNewSockAnswersOnlyVersion1000) {
    EXPECT_NE(get_new_sock(1000), nullptr);
    EXPECT_EQ(get_new_sock(999), nullptr);
    EXPECT_EQ(get_new_sock(0), nullptr);
    EXPECT_EQ(dlsym(handle, "_ZN7brindle7runtime6Kernel3runEv"), nullptr);  // nothing else is exported
}

// The launcher tests embed tests/closing.img, which a cross build writes with a native build's tool.
TEST(ClosingImage, IsTheImageTheBuildWrote) {
    auto built = read_input_file(CLOSING_IMAGE_FILE);
    ASSERT_TRUE(built.has_value()) << built.error().describe();
    EXPECT_TRUE(*built == test::closing_image());
}

TEST_F(KernelLibrary, StartRunsAnImageAndRefusesJunk) {
    // The start function takes the image and its size, and reads nothing past that size.
    auto start = reinterpret_cast<int (*)(const void*, size_t)>(get_new_sock(1000));
    Bytes image = test::closing_image();
    EXPECT_EQ(start(image.data(), image.size()), 0);
    EXPECT_EQ(start(image.data(), image.size() - 1), 1);
    Bytes junk(64, 0);
    EXPECT_EQ(start(junk.data(), junk.size()), 1);
}

}  // namespace
}  // namespace brindle::runtime::testing
