#!/usr/bin/env bash
# Starts the packed tool under Xvfb, as a user would, and checks that its window is mapped and drawn.
# Usage: window_screenshot_test.sh SOURCE_DIR BRINDLE OUT.png
set -euo pipefail
source_dir=$1 brindle=$2 out=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -f "$out"

# A private runtime directory, as a desktop session has: the payload goes there, not to $TMPDIR.
mkdir -m 0700 "$work/run"
XDG_RUNTIME_DIR="$work/run" TMPDIR="$work" "$source_dir/scripts/headless-screenshot.sh" "$out" 2 "$brindle"
[[ -s "$out" ]] || { echo "no screenshot"; exit 1; }
# The window sits at 50,50; a drawn window is anything but one flat colour.
spread=$(convert "$out" -crop 600x500+60+80 -colorspace Gray -format '%[fx:standard_deviation]' info:)
awk -v s="$spread" 'BEGIN { exit !(s > 0.02) }' || { echo "the window area is blank (spread $spread)"; exit 1; }
# The payload was extracted into the runtime directory and the kernel was loaded from there.
ls "$work"/run/Q_N*/rtcore.rlb >/dev/null
if ls -d "$work"/Q_N* >/dev/null 2>&1; then echo "extracted into \$TMPDIR despite the runtime directory"; exit 1; fi
echo "window mapped and drawn; screenshot at $out"
