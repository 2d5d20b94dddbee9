#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Screenshots for the docs, taken from the real program under a private Xvfb:
# the main window after one pour of the milk task, and both pages of the task
# dialog.
# Usage: tools/screenshot.sh [OUT_DIR]   (default docs/; the program is
# build/app/sosudnik, or $SOSUDNIK)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/tools/xvfb.sh"
out=${1:-$top/docs}
app=${SOSUDNIK:-$top/build/app/sosudnik}

die() {
  echo "screenshot.sh: $*" >&2
  exit 1
}

[ -x "$app" ] || die "no program at $app (build it, or set SOSUDNIK)"
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null 2>&1 || die "$tool is missing (packages xvfb, xdotool, imagemagick)"
done
mkdir -p "$out"
out=$(cd "$out" && pwd)

work=$(mktemp -d "${TMPDIR:-/tmp}/sosudnik-shots.XXXXXX")
app_pid=
cleanup() {
  set +e
  stop_pid "$app_pid"
  stop_xvfb
  rm -rf "$work"
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_xvfb "$work/xvfb.log" || die "no X display could be started on :90..:139"

mkdir -p "$work/run" "$work/home"
chmod 700 "$work/run"
(
  cd "$work/run"
  exec env HOME="$work/home" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=xcb "$app" </dev/null >"$work/app.log" 2>&1
) &
app_pid=$!

alive() {
  kill -0 "$app_pid" 2>/dev/null || die "the program exited: $(cat "$work/app.log")"
}

# window WIDTH: the program's visible window that wide, if any.
window() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null || true); do
    WIDTH=0
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    if [ "$WIDTH" -eq "$1" ]; then
      echo "$id $X $Y $HEIGHT"
      return 0
    fi
  done
  return 1
}

# wait_window WIDTH WHAT: polls for the window, up to 30 s.
wait_window() {
  local found
  for _ in $(seq 300); do
    alive
    found=$(window "$1") && {
      echo "$found"
      return 0
    }
    sleep 0.1
  done
  die "$2 did not show within 30 s"
}

read -r win wx wy wh <<<"$(wait_window 642 "the main window")"
[ -n "$win" ] || exit 1
menu=$((wh - 473))

shot="$work/screen.png"
# colour X Y: the pixel at a form point of the main window, as RRGGBB.
colour() {
  import -silent -window "$win" "$shot" 2>/dev/null &&
    convert "$shot" -format "%[hex:p{$1,$(($2 + menu))}]" info: 2>/dev/null
}

# until_colour X Y RRGGBB WHAT: polls the main window, up to 30 s.
until_colour() {
  for _ in $(seq 150); do
    alive
    [ "$(colour "$1" "$2" || true)" = "$3" ] && return 0
    sleep 0.2
  done
  die "$4 not seen within 30 s"
}

click() {
  xdotool mousemove --sync $((wx + $1)) $((wy + menu + $2)) click 1
}

# Painted: picture 1's outline and its white inside.
until_colour 32 48 000000 "the painted window"
until_colour 84 120 FFFFFF "the painted window"

# Data -> New: the first menu, then its first item.
xdotool mousemove --sync $((wx + 15)) $((wy + menu / 2)) click 1
for _ in $(seq 200); do
  alive
  [ "$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l)" -gt 1 ] && break
  sleep 0.1
done
xdotool key Down Return

# The milk task: capacities 12, 7, 5; levels 12, 0, 0; get 6.
for f in "72 282 12" "200 282 7" "312 282 5" "72 346 12" "200 346 0" "312 346 0" "72 410 6"; do
  read -r fx fy value <<<"$f"
  click $((fx + 15)) $((fy + 12))
  xdotool type --delay 20 "$value"
done
until_colour 84 120 0000FF "vessel 1 full"
click $((416 + 44)) $((344 + 16))

# One pour, 1 -> 2, by dragging.
x1=$((wx + 84)) y1=$((wy + menu + 120))
x2=$((wx + 216)) y2=$((wy + menu + 140))
# The button's click is queued ahead of the press, so play mode is on by then.
xdotool mousemove --sync "$x1" "$y1"
xdotool mousedown 1
for i in $(seq 1 10); do
  xdotool mousemove --sync $((x1 + (x2 - x1) * i / 10)) $((y1 + (y2 - y1) * i / 10))
  sleep 0.03
done
xdotool mouseup 1
until_colour 216 140 0000FF "vessel 2 full"
until_colour 84 100 FFFFFF "vessel 1 down to 5"
until_colour 32 48 000000 "picture 1 back in place"

# Park the pointer off the window: no hover highlight in the pictures.
xdotool mousemove --sync 1270 1010
# stable ID FILE: captures the window until two captures in a row agree.
stable() {
  local prev="$work/prev.png" i
  import -silent -window "$1" "$prev" 2>/dev/null || true
  for i in $(seq 100); do
    alive
    sleep 0.2
    if import -silent -window "$1" "$2" 2>/dev/null &&
      [ "$(compare -metric AE "$prev" "$2" null: 2>&1 || true)" = 0 ]; then
      return 0
    fi
    cp -f "$2" "$prev" 2>/dev/null || true
  done
  die "the window $1 never stopped changing"
}
stable "$win" "$out/main-window.png"

# The task dialog: Alt+З. xdotool lends the Cyrillic key a spare key code
# for the moment, which a busy program may read too late: try again.
dlg=
for _ in 1 2 3 4 5; do
  xdotool windowfocus --sync "$win" 2>/dev/null || true
  xdotool key alt+Cyrillic_ze
  for _ in $(seq 50); do
    alive
    if found=$(window 591); then
      dlg=${found%% *}
      break 2
    fi
    sleep 0.1
  done
done
[ -n "$dlg" ] || die "the task dialog did not open"
xdotool windowfocus --sync "$dlg" 2>/dev/null || true
stable "$dlg" "$out/task-milk.png"

xdotool key ctrl+Tab
for _ in $(seq 150); do
  stable "$dlg" "$work/kvass.png"
  [ "$(compare -metric AE "$out/task-milk.png" "$work/kvass.png" null: 2>&1 || true)" != 0 ] && break
  sleep 0.2
done
[ "$(compare -metric AE "$out/task-milk.png" "$work/kvass.png" null: 2>&1 || true)" != 0 ] ||
  die "the second page did not open"
cp -f "$work/kvass.png" "$out/task-kvass.png"

xdotool key Escape
echo "Saved $out/main-window.png, $out/task-milk.png, $out/task-kvass.png"
