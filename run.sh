#!/usr/bin/env bash
# Installs what is missing, builds, and starts Brindle. Without a display it runs Brindle under Xvfb
# for a few seconds and saves a screenshot of its window to build/brindle.png.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
scripts/build.sh brindle_executable
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display: running Brindle under Xvfb."
  exec scripts/headless-screenshot.sh build/brindle.png 3 build/brindle
fi
exec build/brindle
