#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Screenshots for the docs, taken from the real program under a private Xvfb:
# the main window after one pour of the milk task, both pages of the task
# dialog, the map window after five pours, and the map `--map` draws.
# Usage: tools/screenshot.sh [OUT_DIR]   (default docs/; the program is
# build/app/sosudnik, or $SOSUDNIK)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/tools/game_under_x.sh"
out=${1:-$top/docs}
app=${SOSUDNIK:-$top/build/app/sosudnik}

fail() {
  echo "screenshot.sh: $*" >&2
  exit 1
}

[ -x "$app" ] || fail "no program at $app (build it, or set SOSUDNIK)"
need "packages xvfb, xdotool, imagemagick" Xvfb xdotool import convert
mkdir -p "$out"
out=$(cd "$out" && pwd)

game_setup shots
start_game "$app"
wait_main_window 642

# colour X Y RRGGBB: the main window's form has that colour at a point.
colour() {
  region "$1" "$2" 1 1 "$3"
}

# Painted: picture 1's outline and its white inside.
wait_for 30 "the painted window" colour 32 48 000000
wait_for 30 "the painted window" colour 84 120 FFFFFF

# The milk task: capacities 12, 7, 5; levels 12, 0, 0; get 6.
new_game
type_task 12 7 5 12 0 0 6
wait_for 30 "vessel 1 full" colour 84 120 0000FF
click $((416 + 44)) $((344 + 16))

# One pour, 1 -> 2, by dragging. The button's click is queued ahead of the
# press, so play mode is on by then.
drag 84 120 216 140
wait_for 30 "vessel 2 full" colour 216 140 0000FF
wait_for 30 "vessel 1 down to 5" colour 84 100 FFFFFF
wait_for 30 "picture 1 back in place" colour 32 48 000000

# Park the pointer off the window: no hover highlight in the pictures.
xdotool mousemove --sync 1270 1010
stable "$win" "$out/main-window.png"

# The task dialog: Alt+З.
open_by_key alt+Cyrillic_ze "the task dialog did not open"
dlg=$other
xdotool windowfocus --sync "$dlg" 2>/dev/null || true
stable "$dlg" "$out/task-milk.png"

second_page() {
  stable "$dlg" "$work/kvass.png"
  [ "$(differing "$out/task-milk.png" "$work/kvass.png")" != 0 ]
}
xdotool key ctrl+Tab
poll 30 second_page || fail "the second page did not open"
cp -f "$work/kvass.png" "$out/task-kvass.png"

xdotool key Escape
poll 30 no_other_window || fail "the task dialog did not close"

# Four pours more by keys (5 7 0 -> 5 2 5 -> 10 2 0 -> 10 0 2 -> 3 7 2), then
# "Карта переливаний" (Ctrl+M).
xdotool windowfocus --sync "$win" 2>/dev/null || true
for keys in "2 3" "3 1" "2 3" "1 2"; do
  # shellcheck disable=SC2086 # two keys
  xdotool key --delay 60 $keys
done
wait_for 30 "vessel 1 at 3 of 12" colour 84 180 0000FF
open_by_key ctrl+m "the map window did not open"
map=$other
# Park the pointer off both windows: no tooltip, no hover.
xdotool mousemove --sync 1270 1010
stable "$map" "$out/map-window.png"

# The same task's map as `--map` writes it, with its shortest solution.
env -u DISPLAY QT_QPA_PLATFORM= "$app" --map 12,7,5/12,0,0/6 -o "$out/map-milk.png" || fail "--map wrote no picture"

passed=1
echo "Saved $out/main-window.png, $out/task-milk.png, $out/task-kvass.png, $out/map-window.png, $out/map-milk.png"
