#!/usr/bin/env bash
# Starts a program under a private Xvfb, waits until its window is mapped, saves a screenshot of the
# screen and ends the program. Usage: headless-screenshot.sh OUT.png SECONDS PROGRAM [ARGS...]
set -euo pipefail
out=$1 seconds=$2
shift 2

# Xvfb picks a free display and writes its number once it accepts connections.
numfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$numfile" >/dev/null 2>&1 &
xvfb=$!
program=""
cleanup() {
  [[ -n "$program" ]] && kill "$program" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -f "$numfile"
}
trap cleanup EXIT
for _ in $(seq 100); do [[ -s "$numfile" ]] && grep -q . "$numfile" && break; sleep 0.1; done
display=":$(head -n 1 "$numfile")"
[[ "$display" != ":" ]] || { echo "Xvfb did not start." >&2; exit 1; }

DISPLAY="$display" "$@" &
program=$!
# The window is up once a top-level window is viewable; then give it time to paint.
mapped() {
  local w
  for w in $(DISPLAY="$display" xwininfo -root -children 2>/dev/null | awk '/^ +0x/ {print $1}'); do
    DISPLAY="$display" xwininfo -id "$w" 2>/dev/null | grep -q 'Map State: IsViewable' && return 0
  done
  return 1
}
for _ in $(seq 200); do mapped && break; sleep 0.1; done
mapped || { echo "The window did not appear." >&2; exit 1; }
sleep "$seconds"
DISPLAY="$display" import -window root "$out"
echo "Screenshot saved to $out"
