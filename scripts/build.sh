#!/usr/bin/env bash
# Configures once, then builds incrementally into build/: everything, or the targets named.
# BRINDLE_WERROR=ON (as .ci/run sets it) or OFF reconfigures build/ with warnings as errors or not.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ ! -f build/CMakeCache.txt || -n "${BRINDLE_WERROR:-}" ]]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${BRINDLE_WERROR:+-DBRINDLE_WERROR=$BRINDLE_WERROR}
fi
if [[ $# -gt 0 ]]; then
  cmake --build build --target "$@"
else
  cmake --build build
fi
