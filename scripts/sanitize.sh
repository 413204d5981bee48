#!/usr/bin/env bash
# Builds everything with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer in build-asan/
# and runs the tests there. Any finding fails the run. Arguments go to ctest (e.g. -R heap).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
# -O1 and line tables only: what the sanitizers' reports need, at less compile time; no benchmarks,
# which no test runs.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRINDLE_SANITIZE=ON -DBRINDLE_BUILD_BENCH=OFF \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" >/dev/null
cmake --build build-asan

# Known reports that are not faults of ours are listed, with their reasons, in the suppression file.
# No strict_string_checks: libxkbcommon-x11 strndup()s buffers that are not NUL-terminated, which is
# allowed, and the strict check reports it as an overflow.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The desktop test times a window manager and a tray; under the sanitizers' slowness it measures the
# machine, not memory safety, and the plain build runs it.
ctest --test-dir build-asan --output-on-failure -E 'Desktop.TrayDialogsAndExit' "$@"
