#!/usr/bin/env bash
# Builds the libFuzzer targets with clang 16, libc++, AddressSanitizer and UndefinedBehaviorSanitizer
# into build-fuzz/, then runs each for SECONDS seconds (default 60) from the committed seed corpus
# in tests/fuzz/corpus/<target>/; new inputs go to build-fuzz/corpus/<target>/. Crashes stop the run
# with a non-zero status and leave their input in build-fuzz/.
#   scripts/fuzz.sh            # every target, 60 s each
#   scripts/fuzz.sh 3600 image # one target for an hour
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(image container routine_arguments template)

scripts/deps.sh fuzz
if [[ ! -f build-fuzz/CMakeCache.txt ]]; then
  CC=clang-16 CXX=clang++-16 cmake -S . -B build-fuzz -G Ninja -DBRINDLE_FUZZ_ONLY=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="-stdlib=libc++ -fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined" \
    -DCMAKE_C_FLAGS="-fsanitize=address,undefined,fuzzer-no-link" \
    -DCMAKE_EXE_LINKER_FLAGS="-stdlib=libc++ -fsanitize=address,undefined" >/dev/null
fi
cmake --build build-fuzz --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t"
  echo "fuzz_$t: ${seconds} s"
  (cd build-fuzz && "./fuzz_$t" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
     -print_final_stats=1 "corpus/$t" "../tests/fuzz/corpus/$t" 2>&1 | grep -E "^Done [0-9]+ runs|ERROR|SUMMARY" || true)
  [[ -z $(ls build-fuzz/crash-* build-fuzz/leak-* build-fuzz/timeout-* 2>/dev/null) ]] || { echo "fuzz_$t found a fault"; exit 1; }
done
