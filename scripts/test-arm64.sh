#!/usr/bin/env bash
# Runs the tests of the arm64 build (scripts/cross-build.sh arm64) under qemu-aarch64-static: each test
# binary once, with all its cases (one emulator start per binary, not per case), then the tests that
# are scripts (the package, the installed tree, the window under Xvfb) through ctest.
#   scripts/test-arm64.sh [PAGE_SIZE]   # the emulated kernel's page size, default 4096; 65536 as on
#                                       # arm64 kernels with 64 KiB pages
# What emulation cannot run is left out by name below, with the reason; nothing else is.
set -euo pipefail
cd "$(dirname "$0")/.."
page_size=${1:-4096}
build=build-arm64

# Programs the tests start run emulated too (qemu is registered for arm64 programs, scripts/deps.sh),
# and read these from the environment: the unpacked packages (PHP, MariaDB) as their library prefix,
# the page size.
export QEMU_LD_PREFIX=${BRINDLE_ARM64_SYSROOT:-/opt/brindle/arm64-sysroot}
export QEMU_PAGESIZE=$page_size
# Unicorn's x86 emulation, itself emulated, is many times slower: the 10 s a routine may run, times 10.
export BRINDLE_TIME_SCALE=${BRINDLE_TIME_SCALE:-10}

# qemu-user 7.2 refuses the clone flags QProcess starts its children with, so the tests
# that drive brindle-drive through QProcess cannot start it. It also runs posix_spawn's child as a
# fork, so a program that cannot be started is not reported back (the child just exits).
declare -A cannot_run=(
  [qt_ui_tests]="DriveTest.*:DriveToolImageTest.*"
  [preview_tests]="PreviewServeCommand.OpenWithoutAnOpenerSaysSoAndServesOn"
)

# The tests that are scripts (the gtest cases are run above).
script_tests='KernelLibrary\.ExportsGetNewSockAlone|Desktop\..*|Install\..*'

passed=0 failed=0 skipped=0 failed_binaries=()
for binary in "$build"/tests/*_tests; do
  name=$(basename "$binary")
  filter=${cannot_run[$name]:+-${cannot_run[$name]}}
  [[ -n "$filter" ]] && echo "$name: not under emulation: ${cannot_run[$name]}"
  start=$SECONDS
  log=$(mktemp)
  status=0
  QT_QPA_PLATFORM=offscreen qemu-aarch64-static "$binary" --gtest_brief=1 ${filter:+--gtest_filter="$filter"} >"$log" 2>&1 || status=$?
  [[ $status -eq 0 ]] || grep -E -A6 'Failure$' "$log" | head -60 || true
  p=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?.*/\1/p' "$log")
  f=$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?, listed below.*/\1/p' "$log")
  s=$(sed -nE 's/^\[  SKIPPED \] ([0-9]+) tests?.*/\1/p' "$log")
  passed=$((passed + ${p:-0})) failed=$((failed + ${f:-0})) skipped=$((skipped + ${s:-0}))
  if [[ $status -ne 0 && -z "$f" ]]; then
    echo "$name ended with status $status:"; tail -20 "$log"
    failed=$((failed + 1))
  fi
  [[ $status -eq 0 ]] || failed_binaries+=("$name")
  echo "$name: ${p:-0} passed, ${f:-0} failed in $((SECONDS - start)) s"
  rm -f "$log"
done

# The tests that are scripts run the arm64 programs they are given (the tool, the package, the
# installed tree) emulated as well.
start=$SECONDS
log=$(mktemp)
ctest --test-dir "$build" --output-on-failure -R "^(${script_tests})\$" | tee "$log" || true
p=$(sed -nE 's/^[0-9]+% tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\2 \1/p' "$log")
read -r total f <<<"${p:-1 1}"
passed=$((passed + total - f)) failed=$((failed + f))
rm -f "$log"
echo "script tests in $((SECONDS - start)) s"

echo "arm64 under qemu (${page_size}-byte pages): $passed passed, $failed failed, $skipped skipped"
[[ $failed -eq 0 && ${#failed_binaries[@]} -eq 0 ]]
