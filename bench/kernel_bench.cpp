// The kernel's figures: preparing an image of the application's size (open, validate, map, relocate;
// target under 2 ms), one routine of about 40 service calls from its event to its return (target under
// 50 µs median), and the guest part of one click of the application's heaviest routine.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/catalogue.h"
#include "app/text_stores.h"
#include "codegen/program.h"
#include "common/gbk.h"
#include "common/input_file.h"
#include "image/constant_pool.h"
#include "image/image_writer.h"
#include "runtime/headless/recording_ui.h"
#include "runtime/kernel.h"
#include "tests/support/closing_image.h"

namespace {

using namespace brindle;
namespace emit = codegen;
namespace prop = abi::property;

constexpr uint32_t kWindow = 0x52010001;
constexpr uint32_t kFirstControl = 0x16000100;

struct BuiltImage {
    Bytes bytes;
    uint32_t routine = 0;  // the benchmark routine's code offset
};

// The routine: 8 text reads, 4 selection reads, 4 texts to numbers, 4 numbers to text, 4 texts to
// integers, a concatenation of 16 parts, one write, and the releases: about 40 service calls.
void bench_routine(emit::Routine& r) {
    std::vector<emit::TextVar> fields;
    for (int i = 0; i < 8; ++i) fields.push_back(r.text_var());
    std::vector<emit::DoubleVar> numbers;
    for (int i = 0; i < 4; ++i) numbers.push_back(r.double_var());
    emit::IntVar total = r.int_var();
    for (uint32_t i = 0; i < 8; ++i) r.set(fields[i], r.read_text({kWindow, kFirstControl + i}));
    for (uint32_t i = 0; i < 4; ++i) r.set(total, r.read_selection({kWindow, kFirstControl + 8 + i}));
    for (uint32_t i = 0; i < 4; ++i) r.set(numbers[i], r.to_number(fields[i]));
    for (uint32_t i = 0; i < 4; ++i) r.set(total, r.to_int(fields[4 + i]));
    r.write_text({kWindow, kFirstControl + 20},
                 r.concat({"{dede:arclist typeid=", fields[0], " row=", fields[1], " titlelen=", r.to_text(numbers[0]),
                           " infolen=", r.to_text(numbers[1]), " orderby='", fields[2], "' ", r.to_text(numbers[2]),
                           r.to_text(numbers[3]), "}\r\n", fields[3], "{/dede:arclist}"}));
}

// An image near the application's size: ~22 KB of code with a few hundred relocations, ~200 KB of
// constants (a 202,206-byte icon among them).
BuiltImage build_image() {
    image::ConstantPool pool;
    Bytes icon(202206, 0x5A);
    emit::Program program(pool, kWindow);
    BuiltImage built;
    built.routine = program.add_routine("bench", bench_routine);
    program.add_routine("tray", [&](emit::Routine& r) {
        r.place_tray_icon({kWindow, 0x06010000}, icon, "Brindle");
    });
    for (int i = 0; i < 430; ++i)
        program.add_routine("palette", [&](emit::Routine& r) {
            r.write_text({kWindow, kFirstControl + 30}, "{dede:global.cfg_" + std::to_string(i) + "/}");
        });
    auto code = program.finish();
    if (!code) {
        std::fprintf(stderr, "emitting failed: %s\n", code.error().describe().c_str());
        std::exit(1);
    }
    image::ImageParts parts = emit::image_parts(std::move(*code), pool);
    parts.libraries = {test::kernel_library_record()};
    auto bytes = image::write_image(parts);
    if (!bytes) {
        std::fprintf(stderr, "writing failed: %s\n", bytes.error().describe().c_str());
        std::exit(1);
    }
    built.bytes = std::move(*bytes);
    return built;
}

const BuiltImage& shared_image() {
    static const BuiltImage built = build_image();
    return built;
}

void BM_KernelImagePreparation(benchmark::State& state) {
    const BuiltImage& built = shared_image();
    headless::RecordingUi ui;
    for (auto _ : state) {
        auto opened = image::open_image(built.bytes);
        auto parts = runtime::program_parts(*opened);
        auto kernel = runtime::Kernel::create(ui);
        auto loaded = (*kernel)->load(*parts);
        if (!loaded) state.SkipWithError(loaded.error().describe().c_str());
        benchmark::DoNotOptimize(kernel);
    }
    auto opened = image::open_image(built.bytes);
    state.counters["image_bytes"] = double(built.bytes.size());
    state.counters["code_bytes"] = double(opened->code().size());
    state.counters["relocations"] = double(opened->code_section()->relocations.size());
}
BENCHMARK(BM_KernelImagePreparation)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The parts of the preparation: reading and checking the image alone, and a fresh emulator with the
// kernel's own memory (service table, stubs, heap, stacks).
void BM_KernelOpenAndValidateImage(benchmark::State& state) {
    const BuiltImage& built = shared_image();
    for (auto _ : state) {
        auto opened = image::open_image(built.bytes);
        benchmark::DoNotOptimize(opened);
    }
}
BENCHMARK(BM_KernelOpenAndValidateImage)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_KernelCreateMachine(benchmark::State& state) {
    headless::RecordingUi ui;
    for (auto _ : state) {
        auto kernel = runtime::Kernel::create(ui);
        benchmark::DoNotOptimize(kernel);
    }
}
BENCHMARK(BM_KernelCreateMachine)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_KernelRoutineOf40ServiceCalls(benchmark::State& state) {
    const BuiltImage& built = shared_image();
    headless::RecordingUi ui;
    for (uint32_t i = 0; i < 8; ++i)
        ui.properties[{kWindow, kFirstControl + i, prop::kText}] = std::string(" 12.5 and some typed text");
    auto kernel = std::move(*runtime::Kernel::create(ui));
    auto opened = image::open_image(built.bytes);
    auto parts = runtime::program_parts(*opened);
    if (auto r = kernel->load(*parts); !r) state.SkipWithError(r.error().describe().c_str());
    const runtime::Event click{built.routine, {}};
    for (auto _ : state) {
        ui.post(click);
        ui.log.clear();
    }
    if (kernel->heap().live_blocks() != 0 || !ui.faults.empty()) state.SkipWithError("the routine leaked or faulted");
}
BENCHMARK(BM_KernelRoutineOf40ServiceCalls)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// 生成_标签, the document-list builder, in the compiled application against a recording UI that holds
// the window's initial state: emulator and services without Qt, the guest part of one click.
// With BRINDLE_BENCH_IMAGE naming another image (one compiled before a change), that image runs too,
// its repetitions interleaved with these (--benchmark_enable_random_interleaving=true).
void BM_KernelDocumentListClick(benchmark::State& state, bool other) {
    const char* other_image = std::getenv("BRINDLE_BENCH_IMAGE");
    if (other && !other_image) return state.SkipWithError("set BRINDLE_BENCH_IMAGE to compare another image");
    auto bytes = read_input_file(other ? other_image : BRINDLE_IMAGE);
    if (!bytes) return state.SkipWithError(("no program image: " + bytes.error().describe()).c_str());
    auto opened = image::open_image(*bytes);
    if (!opened) return state.SkipWithError(opened.error().describe().c_str());
    auto parts = runtime::program_parts(*opened);
    if (!parts) return state.SkipWithError(parts.error().describe().c_str());
    const uint32_t window = app::main_window().id;
    headless::RecordingUi ui;
    for (const app::Control& c : app::controls()) {
        const auto key = [&](uint32_t property) { return std::tuple(window, c.id, property); };
        if (c.text_store()) {
            if (const app::TextStore* store = app::find_text_store(c.name))
                ui.properties[key(prop::kText)] = std::string(utf8_to_gbk(store->text).value_or(""));
        } else if (c.kind == app::ControlKind::EditBox || c.kind == app::ControlKind::Label) {
            ui.properties[key(prop::kText)] = std::string(utf8_to_gbk(c.text).value_or(""));
        } else if (c.kind == app::ControlKind::RadioBox) {
            ui.properties[key(prop::kChecked)] = int32_t(c.checked ? 1 : 0);
        } else if (c.kind == app::ControlKind::ComboBox) {
            ui.properties[key(prop::kSelection)] = int32_t(0);
        }
    }
    auto kernel = std::move(*runtime::Kernel::create(ui));
    if (auto r = kernel->load(*parts); !r) return state.SkipWithError(r.error().describe().c_str());
    const app::Control* button = app::find_control("生成_标签");
    auto routine = button ? opened->form.find_routine(window, button->id, 0) : std::nullopt;
    if (!routine) return state.SkipWithError("生成_标签 has no click routine");
    const runtime::Event click{*routine, {}};
    for (auto _ : state) {
        ui.post(click);
        ui.log.clear();
    }
    if (kernel->heap().live_blocks() != 0 || !ui.faults.empty() || !ui.message_boxes.empty())
        state.SkipWithError("the routine leaked, faulted or complained");
}
BENCHMARK_CAPTURE(BM_KernelDocumentListClick, this_image, false)
    ->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_KernelDocumentListClick, other_image, true)
    ->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
