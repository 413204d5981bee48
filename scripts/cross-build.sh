#!/usr/bin/env bash
# Cross-builds Brindle for 64-bit ARM into build-arm64/ and packages it:
#   scripts/cross-build.sh arm64 [CMAKE_OPTION...]   # writes build-arm64/brindle_<version>_arm64.deb
# Installs what it needs (scripts/deps.sh arm64), builds the build-time tools natively in build/ and
# runs those (BRINDLE_HOST_TOOLS_DIR), builds everything else for arm64 and runs cpack. Options go to
# cmake, e.g. -DBRINDLE_BUILD_TESTS=OFF -DBRINDLE_BUILD_BENCH=OFF for the package alone.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ "${1:-}" != arm64 ]]; then
  echo "usage: scripts/cross-build.sh arm64 [CMAKE_OPTION...]" >&2
  exit 2
fi
shift

scripts/deps.sh arm64
scripts/build.sh brindle-compile brindle-pack brindle-preview brindle-icon-png write_closing_image

# Compiles are cached whichever folder the sources are in (CI builds a fresh clone).
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
  set -- -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "$@"
fi
# The package is stripped, so the compile leaves out debug information (a quarter to a third of its
# time); the optimisation is the native build's. -DCMAKE_BUILD_TYPE=RelWithDebInfo after arm64 keeps it.
cmake -S . -B build-arm64 -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/aarch64-linux-gnu.cmake -DBRINDLE_HOST_TOOLS_DIR="$PWD/build" \
  ${BRINDLE_WERROR:+-DBRINDLE_WERROR=$BRINDLE_WERROR} "$@" >/dev/null
cmake --build build-arm64
(cd build-arm64 && cpack -G DEB)
