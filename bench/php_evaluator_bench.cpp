// The PHP in templates: what the first `function=` on a page costs (starting the interpreter and a
// request with the helpers loaded), and what each further call costs.
#include <benchmark/benchmark.h>

#include "dede/php_evaluator.h"

namespace {

brindle::dede::PhpOptions options() {
    brindle::dede::PhpOptions o;
    o.readable_dirs = {"/tmp"};
    o.now = 1717243200;
    return o;
}

void BM_StartEvaluator(benchmark::State& state) {
    for (auto _ : state) {
        auto php = brindle::dede::PhpEvaluator::start(options());
        if (!php) state.SkipWithError(php.error().message.c_str());
        benchmark::DoNotOptimize(php);
    }
}
BENCHMARK(BM_StartEvaluator)->Unit(benchmark::kMillisecond);

void BM_FieldFunction(benchmark::State& state) {
    auto php = brindle::dede::PhpEvaluator::start(options());
    for (auto _ : state) benchmark::DoNotOptimize((*php)->call_function("MyDate('Y-m-d',@me)", "1656606416"));
}
BENCHMARK(BM_FieldFunction)->Unit(benchmark::kMicrosecond);

void BM_CnSubstr(benchmark::State& state) {
    auto php = brindle::dede::PhpEvaluator::start(options());
    for (auto _ : state)
        benchmark::DoNotOptimize((*php)->call_function("cn_substr(@me,30)", "深入理解C++模板元编程技术与实践指南全集（16）"));
}
BENCHMARK(BM_CnSubstr)->Unit(benchmark::kMicrosecond);

void BM_RunPhp(benchmark::State& state) {
    auto php = brindle::dede::PhpEvaluator::start(options());
    for (auto _ : state) benchmark::DoNotOptimize((*php)->run_php("@me = (@me % 2 == 0) ? 'even' : 'odd';", "52"));
}
BENCHMARK(BM_RunPhp)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
