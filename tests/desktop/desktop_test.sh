#!/usr/bin/env bash
# The packed tool on a real desktop (Xvfb, the openbox window manager, the trayer notification area),
# for what only a desktop shows: the frame's outer size, the tray icon coming and going, a second
# start, message boxes over the window, the keyboard, and the exit. Usage: desktop_test.sh BRINDLE
set -euo pipefail
brindle=$1
work=$(mktemp -d)
mkdir -m 0700 "$work/run"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; cat "$work/brindle.err"; exit 1; }

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q . "$work/display" 2>/dev/null && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"
export XDG_RUNTIME_DIR="$work/run" TMPDIR="$work" XDG_CONFIG_HOME="$work/config"
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS

openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
sleep 1  # openbox announces itself before it has finished starting

# xdotool search stops at a window that vanishes while it looks; look again.
windows() { for _ in 1 2 3; do xdotool search "$@" 2>/dev/null && return 0; sleep 0.1; done; }
# Waits up to $1 tenths of a second for the command after it to succeed. The command runs anew each
# time: a condition on some output must be a function, not an argument expanded once.
within() {
  local tenths=$1
  shift
  for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done
  "$@"
}
start_tray() { trayer --edge bottom --align right --widthtype pixel --width 120 --heighttype pixel --height 24 >/dev/null 2>&1 & tray=$!; }
# The icon is docked when a small window of ours is viewable.
icon_docked() {
  local w
  for w in $(windows --classname brindle); do
    [[ "$w" == "$main" ]] && continue
    xwininfo -id "$w" 2>/dev/null | grep -q 'Map State: IsViewable' && return 0
  done
  return 1
}
viewable() { xwininfo -id "$main" 2>/dev/null | grep -q 'Map State: IsViewable'; }
iconic() { xprop -id "$main" WM_STATE 2>/dev/null | grep -q 'window state: Iconic'; }
withdrawn() { ! viewable && ! iconic; }
# A window's client area on screen: X Y WIDTH HEIGHT.
area() { xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'; }
# Clicks at a point of the main window's client area.
click_at() {
  local x y w h
  read -r x y w h < <(area "$main")
  xdotool mousemove $((x + $1)) $((y + $2)) click 1
}

# The tool starts before any notification area.
"$brindle" 2>"$work/brindle.err" &
app=$!
pids+=($app)
window_shown() { test -n "$(windows --onlyvisible --name Brindle)"; }
within 300 window_shown || fail "the window did not appear"
main=$(windows --onlyvisible --name Brindle | head -n 1)
sleep 0.5

# Outer size from the form, frame included; the layout is fixed.
read -r X Y WIDTH HEIGHT < <(area "$main")
read -r left right top bottom < <(xprop -id "$main" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
[[ $((WIDTH + left + right))x$((HEIGHT + top + bottom)) == 627x571 ]] ||
  fail "outer size $((WIDTH + left + right))x$((HEIGHT + top + bottom)), not 627x571"
xprop -id "$main" WM_NORMAL_HINTS | grep -q "program specified maximum size: ${WIDTH} by ${HEIGHT}" ||
  fail "the window can be resized"

# Hiding with no notification area leaves the window shown: nothing here would bring it back.
click_at 565 494
sleep 1
viewable && ! iconic || fail "hidden without a tray, the window did not stay shown"

# A tray that starts late gets the icon.
start_tray
pids+=($tray)
within 50 icon_docked || fail "the icon did not appear in a tray started later"

# A second start hands over to the first, which shows its hidden window, and ends at once.
click_at 565 494
within 20 withdrawn || fail "the window did not hide to the tray"
second_start() { timeout 10 "$brindle" 2>>"$work/brindle.err"; }
second_start || fail "the second start ended with status $?"
within 30 viewable || fail "a second start did not show the hidden window"
active() { [[ $(xdotool getactivewindow 2>/dev/null) == "$main" ]]; }
within 20 active || fail "a second start did not activate the window"
[[ $(windows --onlyvisible --name '^Brindle' | wc -l) == 1 ]] || fail "a second start opened a window of its own"
sleep 0.5

# Hidden to the tray, then the tray goes: the window comes back.
click_at 565 494
within 20 withdrawn || fail "the window did not hide to the tray"
kill "$tray"
within 50 viewable || fail "the window stayed hidden after the tray went away"
sleep 0.5

# A message box sits centred over the window: the copy button's 复制成功！ (titled Brindle).
click_at 54 119
message_box() { windows --onlyvisible --name '^Brindle$' | head -n 1; }
box_shown() { test -n "$(message_box)"; }
box_gone() { ! box_shown; }
within 30 box_shown || fail "no message box"
box=$(message_box)
read -r X Y WIDTH HEIGHT < <(area "$main")
main_cx=$((X + WIDTH / 2)) main_cy=$((Y + HEIGHT / 2))
read -r X Y WIDTH HEIGHT < <(area "$box")
box_cx=$((X + WIDTH / 2)) box_cy=$((Y + HEIGHT / 2))
dx=$((box_cx - main_cx)) dy=$((box_cy - main_cy))
((${dx#-} <= 40 && ${dy#-} <= 60)) ||
  fail "the message box's centre $box_cx,$box_cy is not over the window's $main_cx,$main_cy"
# Minimised by the window manager, the modal box comes back rather than leave the window blocked.
xdotool windowminimize "$box"
box_up() { xwininfo -id "$box" 2>/dev/null | grep -q 'Map State: IsViewable'; }
sleep 0.3
within 20 box_up || fail "the minimised message box stayed away"
xdotool windowactivate --sync "$box" key Return
within 20 box_gone || fail "the message box did not close"

# Ctrl+Tab from page 0 shows each page in turn (the tabs look different each time) and comes back to page 0.
xdotool windowactivate --sync "$main"
strip() { import -window "$main" -crop 450x24+0+4 +repage png:- 2>/dev/null | md5sum | cut -d' ' -f1; }
declare -A seen=()
first=$(strip)
for turn in 1 2 3 4 5 6 7; do
  xdotool key --window "$main" ctrl+Tab
  sleep 0.4
  now=$(strip)
  [[ -z "${seen[$now]:-}" ]] || fail "Ctrl+Tab $turn showed a page seen before"
  seen[$now]=$turn
done
[[ "$now" == "$first" ]] || fail "seven Ctrl+Tab did not come back to page 0"

# Enter on a focused 生成 builds: type a keyword, Tab in reading order (output box, link, contact box)
# to 生成 and press Enter; then Tab to 复制 and Enter shows its message box.
output() { import -window "$main" -crop 584x121+16+327 +repage png:- 2>/dev/null | md5sum | cut -d' ' -f1; }
before=$(output)
click_at 520 311
xdotool type --delay 20 "kw"
xdotool key Tab Tab Tab Tab Return
changed() { [[ $(output) != "$before" ]]; }
within 20 changed || fail "Enter on the focused 生成 built nothing"
xdotool key Tab Return
within 30 box_shown || fail "Enter on the focused 复制 showed no message box"
xdotool windowactivate --sync "$(message_box)" key Return
within 20 box_gone || fail "the message box did not close"

# Closing the window ends the program at once.
xdotool windowactivate --sync "$main"
xdotool key alt+F4
within 10 bash -c "! kill -0 $app 2>/dev/null" || fail "the program did not exit within a second of closing"

# A socket left by an instance that was killed does not stop the next start.
"$brindle" 2>>"$work/brindle.err" &
app=$!
pids+=($app)
within 300 window_shown || fail "the window did not appear after a clean exit"
kill -KILL "$app"
wait "$app" 2>/dev/null || true
socket="$XDG_RUNTIME_DIR/brindle-xcb-${DISPLAY//[^A-Za-z0-9_.-]/_}"
[[ -S "$socket" ]] || fail "no socket $socket left by the killed instance"
"$brindle" 2>>"$work/brindle.err" &
app=$!
pids+=($app)
within 300 window_shown || fail "a stale socket stopped the next start"
main=$(windows --onlyvisible --name Brindle | head -n 1)
xdotool windowactivate --sync "$main"
xdotool key alt+F4
within 10 bash -c "! kill -0 $app 2>/dev/null" || fail "the program did not exit after the stale socket"
echo "desktop checks passed"
