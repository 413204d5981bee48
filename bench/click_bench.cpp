// One click of 生成_标签 (the document-list builder, the heaviest routine) in the real window on Qt's
// offscreen platform: button click, routine, output box text, repaint. Against Qt's own floor in the
// same process: setPlainText of the same text into the same box plus its repaint. Repetitions of the
// two are interleaved; the ratio of the medians is printed, CPU time beside wall time.
#include <benchmark/benchmark.h>
#include <time.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPlainTextEdit>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/catalogue.h"
#include "common/input_file.h"
#include "image/image_reader.h"
#include "runtime/headless/recording_desktop.h"
#include "runtime/kernel.h"
#include "runtime/loader.h"
#include "runtime/qt/app_font.h"
#include "runtime/qt/qt_ui.h"

using namespace brindle;

namespace {

QAbstractButton* g_button = nullptr;
QPlainTextEdit* g_output = nullptr;
QString g_output_text;

struct Sample {
    double cpu_us, wall_us;
};
std::map<std::string, std::vector<Sample>> g_samples;  // per repetition, per iteration

double thread_cpu_us() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

// Runs `step` per iteration; the repaint is whatever the posted update requests paint.
template <typename Step>
void timed(benchmark::State& state, const std::string& name, Step step) {
    double cpu0 = thread_cpu_us();
    auto wall0 = std::chrono::steady_clock::now();
    for (auto _ : state) step();
    const double n = double(state.iterations());
    g_samples[name].push_back({(thread_cpu_us() - cpu0) / n,
                               std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - wall0).count() / n});
}

void repaint() { QCoreApplication::processEvents(); }

void BM_ClickDocumentList(benchmark::State& state) {
    timed(state, "click", [] {
        g_button->click();
        repaint();
    });
}

void BM_ClickDocumentListWithoutRepaint(benchmark::State& state) {
    timed(state, "click without repaint", [] { g_button->click(); });
    repaint();
}

void BM_QtFloorSetPlainTextAndRepaint(benchmark::State& state) {
    timed(state, "floor", [] {
        g_output->setPlainText(g_output_text);
        repaint();
    });
}

Sample median(std::vector<Sample> v) {
    if (v.empty()) return {0, 0};
    std::sort(v.begin(), v.end(), [](auto& a, auto& b) { return a.cpu_us < b.cpu_us; });
    double cpu = v[v.size() / 2].cpu_us;
    std::sort(v.begin(), v.end(), [](auto& a, auto& b) { return a.wall_us < b.wall_us; });
    return {cpu, v[v.size() / 2].wall_us};
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    runtime::qt::apply_application_font();

    // BRINDLE_BENCH_IMAGE runs another image instead, e.g. one compiled before a change.
    const char* other_image = std::getenv("BRINDLE_BENCH_IMAGE");
    auto bytes = read_input_file(other_image ? other_image : BRINDLE_IMAGE);
    if (!bytes) {
        std::fprintf(stderr, "no program image: %s\n", bytes.error().describe().c_str());
        return 1;
    }
    auto image = image::open_image(*bytes);
    if (!image) {
        std::fprintf(stderr, "no program image: %s\n", image.error().describe().c_str());
        return 1;
    }
    auto parts = runtime::program_parts(*image);
    headless::RecordingDesktop desktop;
    runtime::qt::QtUi ui(image->form, desktop);
    auto kernel = runtime::Kernel::create(ui);
    if (!parts || !kernel || !(*kernel)->load(*parts)) {
        std::fprintf(stderr, "the image cannot be loaded\n");
        return 1;
    }

    int status = 0;
    ui.set_loop_runner([&] {
        const uint32_t window = app::main_window().id;
        runtime::qt::BuiltWindow* built = ui.window(window);
        const app::Control* button = app::find_control("生成_标签");
        const app::Control* output = app::find_control("编辑框_标签输出1");
        const runtime::qt::BuiltControl* b = built && button ? built->find(button->id) : nullptr;
        const runtime::qt::BuiltControl* o = built && output ? built->find(output->id) : nullptr;
        g_button = b ? qobject_cast<QAbstractButton*>(b->widget) : nullptr;
        g_output = o ? qobject_cast<QPlainTextEdit*>(o->widget) : nullptr;
        if (!g_button || !g_output) {
            std::fprintf(stderr, "the window has no 生成_标签 button or no multi-line output box\n");
            status = 1;
            return;
        }
        repaint();
        g_button->click();
        repaint();
        g_output_text = g_output->toPlainText();
        if (g_output_text.isEmpty() || !desktop.messages.empty()) {
            std::fprintf(stderr, "the click wrote nothing or complained\n");
            status = 1;
            return;
        }
        std::vector<char*> args(argv, argv + argc);
        std::string interleave = "--benchmark_enable_random_interleaving=true";
        args.push_back(interleave.data());
        int count = int(args.size());
        benchmark::Initialize(&count, args.data());
        for (auto* bm : {benchmark::RegisterBenchmark("Click/生成_标签", BM_ClickDocumentList),
                         benchmark::RegisterBenchmark("Click/生成_标签_without_repaint", BM_ClickDocumentListWithoutRepaint),
                         benchmark::RegisterBenchmark("Click/qt_floor_setPlainText_repaint", BM_QtFloorSetPlainTextAndRepaint)})
            bm->Unit(benchmark::kMicrosecond)->MinTime(0.2)->Repetitions(9)->ReportAggregatesOnly(true);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();

        Sample click = median(g_samples["click"]), floor = median(g_samples["floor"]),
               bare = median(g_samples["click without repaint"]);
        if (floor.cpu_us > 0 && floor.wall_us > 0)
            std::printf("click median: CPU %.1f µs, wall %.1f µs (without repaint: CPU %.1f µs); Qt floor CPU %.1f µs, "
                        "wall %.1f µs; ratio CPU %.2f, wall %.2f (target <= 1.30)\n",
                        click.cpu_us, click.wall_us, bare.cpu_us, floor.cpu_us, floor.wall_us,
                        click.cpu_us / floor.cpu_us, click.wall_us / floor.wall_us);
    });
    auto run = (*kernel)->run();
    if (!run) {
        std::fprintf(stderr, "the program faulted: %s\n", run.error().describe().c_str());
        return 1;
    }
    return status;
}
