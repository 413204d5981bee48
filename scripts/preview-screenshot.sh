#!/usr/bin/env bash
# Serves the sample site with brindle-preview and saves a page of it (the home page unless told) as
# headless Chromium shows it.
# Usage: scripts/preview-screenshot.sh [OUT.png [PATH]]   (default build/preview.png and /; BUILD_DIR picks the build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
out=${1:-$build/preview.png}
path=${2:-/}
browser=$(command -v chromium || command -v chromium-headless-shell || true)
[[ -n "$browser" ]] || { echo "No chromium here: scripts/deps.sh installs it." >&2; exit 1; }

log=$(mktemp)
profile=$(mktemp -d)
"$build/brindle-preview" serve --now '2024-06-01 12:00:00' >"$log" 2>&1 &
server=$!
cleanup() {
  kill -INT "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  rm -rf "$log" "$profile"
}
trap cleanup EXIT

url=""
for _ in $(seq 100); do
  url=$(grep -o 'http://127.0.0.1:[0-9]*/' "$log" || true)
  [[ -n "$url" ]] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.1
done
[[ -n "$url" ]] || { cat "$log" >&2; echo "brindle-preview serve did not start." >&2; exit 1; }

# Chromium's sandbox refuses to start as root (a CI container).
sandbox=()
[[ $(id -u) -ne 0 ]] || sandbox=(--no-sandbox)
"$browser" --headless "${sandbox[@]}" --disable-gpu --hide-scrollbars --no-first-run --user-data-dir="$profile" \
  --window-size=1280,1000 --screenshot="$(realpath -m "$out")" "${url%/}$path" >/dev/null 2>&1
[[ -s "$out" ]] || { echo "Chromium wrote no screenshot." >&2; exit 1; }
echo "Screenshot of ${url%/}$path saved to $out"
