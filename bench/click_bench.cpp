// One click of 生成_标签 (the document-list builder, the heaviest routine) in the real window on Qt's
// offscreen platform: button click, routine, output box text, repaint. Against Qt's own floor in the
// same process: setPlainText of the same text into the same box plus its repaint. And the same click
// through a kernel built with the trace compiled out (click_kernel.h): what the trace costs while it
// is off. Repetitions are interleaved; the ratios of the medians are printed, CPU time beside wall time.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
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

#include "bench/click_kernel.h"
#include "common/input_file.h"

namespace {

struct Window {
    QAbstractButton* button = nullptr;
    QPlainTextEdit* output = nullptr;
};
Window g_traced, g_untraced;  // the product's kernel, and the one without the trace
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
        g_traced.button->click();
        repaint();
    });
}

void BM_ClickDocumentListWithoutRepaint(benchmark::State& state) {
    timed(state, "click without repaint", [] { g_traced.button->click(); });
    repaint();
}

void BM_ClickDocumentListTraceCompiledOut(benchmark::State& state) {
    timed(state, "click, trace compiled out", [] {
        g_untraced.button->click();
        repaint();
    });
}

void BM_QtFloorSetPlainTextAndRepaint(benchmark::State& state) {
    timed(state, "floor", [] {
        g_traced.output->setPlainText(g_output_text);
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

int g_argc = 0;
char** g_argv = nullptr;
brindle::Bytes g_image;
ClickKernelEntry g_untraced_entry = nullptr;
int g_status = 0;

void run_benchmarks() {
    g_output_text = g_traced.output->toPlainText();
    std::vector<char*> args(g_argv, g_argv + g_argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.push_back(interleave.data());
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    for (auto* bm :
         {benchmark::RegisterBenchmark("Click/生成_标签", BM_ClickDocumentList),
          benchmark::RegisterBenchmark("Click/生成_标签_without_repaint", BM_ClickDocumentListWithoutRepaint),
          benchmark::RegisterBenchmark("Click/生成_标签_trace_compiled_out", BM_ClickDocumentListTraceCompiledOut),
          benchmark::RegisterBenchmark("Click/qt_floor_setPlainText_repaint", BM_QtFloorSetPlainTextAndRepaint)})
        bm->Unit(benchmark::kMicrosecond)->MinTime(0.2)->Repetitions(9)->ReportAggregatesOnly(true);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    Sample click = median(g_samples["click"]), floor = median(g_samples["floor"]),
           bare = median(g_samples["click without repaint"]), plain = median(g_samples["click, trace compiled out"]);
    if (floor.cpu_us > 0 && floor.wall_us > 0)
        std::printf(
            "click median: CPU %.1f µs, wall %.1f µs (without repaint: CPU %.1f µs); Qt floor CPU %.1f µs, "
            "wall %.1f µs; ratio CPU %.2f, wall %.2f (target <= 1.30)\n",
            click.cpu_us, click.wall_us, bare.cpu_us, floor.cpu_us, floor.wall_us, click.cpu_us / floor.cpu_us,
            click.wall_us / floor.wall_us);
    if (plain.cpu_us > 0 && plain.wall_us > 0)
        std::printf(
            "trace compiled in and off against compiled out: CPU %.1f µs / %.1f µs = %.3f, wall %.1f µs / "
            "%.1f µs = %.3f\n",
            click.cpu_us, plain.cpu_us, click.cpu_us / plain.cpu_us, click.wall_us, plain.wall_us,
            click.wall_us / plain.wall_us);
}

// The product's window is up: bring up the other kernel's, then measure both.
void with_untraced(void*, QAbstractButton* button, QPlainTextEdit* output) {
    g_untraced = {button, output};
    run_benchmarks();
}
void with_traced(void*, QAbstractButton* button, QPlainTextEdit* output) {
    g_traced = {button, output};
    g_status = g_untraced_entry(g_image.data(), g_image.size(), with_untraced, nullptr);
}

ClickKernelEntry open_kernel(const char* path) {
    void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    void* entry = library ? dlsym(library, kClickKernelEntry) : nullptr;
    if (!entry) std::fprintf(stderr, "cannot load %s: %s\n", path, dlerror());
    return reinterpret_cast<ClickKernelEntry>(entry);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    g_argc = argc;
    g_argv = argv;

    // BRINDLE_BENCH_IMAGE runs another image instead, e.g. one compiled before a change.
    const char* other_image = std::getenv("BRINDLE_BENCH_IMAGE");
    auto bytes = brindle::read_input_file(other_image ? other_image : BRINDLE_IMAGE);
    if (!bytes) {
        std::fprintf(stderr, "no program image: %s\n", bytes.error().describe().c_str());
        return 1;
    }
    g_image = std::move(*bytes);
    ClickKernelEntry traced = open_kernel(BENCH_CLICK_TRACED);
    g_untraced_entry = open_kernel(BENCH_CLICK_UNTRACED);
    if (!traced || !g_untraced_entry) return 1;
    const int status = traced(g_image.data(), g_image.size(), with_traced, nullptr);
    return status ? status : g_status;
}
