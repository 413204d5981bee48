#!/usr/bin/env bash
# Builds and runs the speed benchmarks: the kernel (image preparation, routines, the guest part of one
# click), one click in the real window against Qt's own floor, and cold start against a minimal Qt
# window with the phase table, brindle-check on hostile templates, brindle-preview's engine on a home
# page over 10,000 articles (bench/render_site/dedecms_time.sh gives DedeCMS's own time), and
# brindle-preview serve (requests per second, a save to its reload). Timings are noisy on a shared
# machine: read the ratios, CPU beside wall.
# Extra arguments go to every benchmark (e.g. --benchmark_filter=Click).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh brindle_executable minimal_qt_window minimal_qt_text_window bench_cold_start bench_kernel bench_click bench_template_check bench_render_site bench_serve
build/bench/bench_kernel "$@"
build/bench/bench_click "$@"
build/bench/bench_cold_start "$@"
build/bench/bench_template_check "$@"
build/bench/bench_render_site "$@"
build/bench/bench_serve "$@"
