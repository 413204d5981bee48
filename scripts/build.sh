#!/usr/bin/env bash
# Configures once, then builds incrementally into build/: everything, or the targets named.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ ! -f build/CMakeCache.txt ]]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
if [[ $# -gt 0 ]]; then
  cmake --build build --target "$@"
else
  cmake --build build
fi
