// brindle-check's reader on hostile templates: each shape at 1, 2, 4 and 8 MB. Linear time shows as
// the same time per MB at every size (the per_MB counter, wall and CPU beside each other).
#include <benchmark/benchmark.h>

#include <string>

#include "dede/template_check.h"
#include "dede/template_decode.h"

namespace {

using Shape = std::string (*)(size_t bytes);

std::string repeated(std::string_view head, std::string_view unit, std::string_view tail, size_t bytes) {
    std::string out(head);
    while (out.size() + unit.size() + tail.size() <= bytes) out += unit;
    return out + std::string(tail);
}

// "{dede:x " over and over on one line: a diagnostic at every tag, far from the line's start.
std::string unclosed_openings(size_t bytes) { return repeated("", "{dede:x ", "", bytes); }

// [field:title] without its closer, inside a list: each one asks where its closer is.
std::string fields_without_closers(size_t bytes) { return repeated("{dede:list}", "[field:title]", "{/dede:list}", bytes); }

// {dede:a0}..{dede:aN}{/dede:a0}..{/dede:aN}: every closing crosses every tag still open.
std::string crossed_pairs(size_t bytes) {
    size_t n = bytes / 24;
    std::string opens, closes;
    for (size_t i = 0; i < n; ++i) {
        opens += "{dede:a" + std::to_string(i) + "}";
        closes += "{/dede:a" + std::to_string(i) + "}";
    }
    return opens + closes;
}

// One tag whose attributes repeat: a duplicate (with the first one's place) at each.
std::string many_attributes(size_t bytes) { return repeated("{dede:arclist", " titlelen='30'", "/}", bytes); }

// One tag whose name is the whole file: unknown, and no name to suggest.
std::string long_name(size_t bytes) { return "{dede:" + std::string(bytes, 'x') + "}"; }

// Nothing but line ends: the line table's size.
std::string newlines(size_t bytes) { return std::string(bytes, '\n') + "{dede:x}"; }

void check_shape(benchmark::State& state, Shape shape) {
    const size_t mb = static_cast<size_t>(state.range(0));
    const std::string text = shape(mb << 20);
    for (auto _ : state) {
        auto diagnostics = brindle::dede::check_template(brindle::dede::decode_template(text));
        benchmark::DoNotOptimize(diagnostics.data());
    }
    state.counters["per_MB"] = benchmark::Counter(static_cast<double>(state.iterations() * mb),
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

#define SHAPE(name) \
    BENCHMARK_CAPTURE(check_shape, name, name)->RangeMultiplier(2)->Range(1, 8)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime()
SHAPE(unclosed_openings);
SHAPE(fields_without_closers);
SHAPE(crossed_pairs);
SHAPE(many_attributes);
SHAPE(long_name);
SHAPE(newlines);

BENCHMARK_MAIN();
