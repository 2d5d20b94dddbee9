#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Screenshots for the docs, taken from the real program under a private Xvfb:
# the main window after one pour of the milk task, both pages of the task
# dialog, the map window after five pours, the map `--map` draws, and the
# replay of a pupil's file; and a worksheet's first page and its key, drawn
# from the PDF that `--worksheet` writes (pdftoppm).
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
need "packages xvfb, xdotool, imagemagick, poppler-utils" Xvfb xdotool import convert pdftoppm
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

# Back to the game's window for its menu.
xdotool windowfocus --sync "$win" 2>/dev/null || true

# A pupil's file: a game of another task, the milk task solved, and a last
# try with a row that no pour gives.
pupil="$work/run/ученик.xml"
{
  printf '<?xml version="1.0" encoding="UTF-8"?>\n<ListStore>'
  save() {
    local r=0 row
    printf '<Columns/><Data>'
    for row in "$@"; do
      read -r a b c caption <<<"$row"
      printf '<Record Column0="%s" Column1="%s" Column2="%s" Column3="%s"/>' "${caption:-$r}" "$a" "$b" "$c"
      r=$((r + 1))
    done
    printf '</Data>'
  }
  save "8 0 0" "3 5 0"
  save "12 0 0" "5 7 0" "5 2 5" "10 2 0" "10 0 2" "3 7 2" "3 4 5" "8 4 0" "8 0 4" "1 7 4" "1 6 5"
  save "12 0 0" "5 7 0" "5 2 5" "9 3 0 пробую" "4 3 5"
  printf '</ListStore>\n'
} >"$pupil"

# «Игра → Просмотр записи…» (Alt+И, И), the file typed into Qt's chooser.
open_by_key alt+Cyrillic_i "the game menu did not open"
xdotool key Cyrillic_i
chooser_open() {
  local id
  for id in $(game_windows); do
    [ "$id" != "$win" ] && [ "$id" != "$map" ] && [ "$(xdotool getwindowgeometry "$id" | grep -c Geometry)" = 1 ] && chooser=$id && return 0
  done
  return 1
}
poll 30 chooser_open || fail "the file chooser did not open"
sleep 1
xdotool type --delay 10 "$pupil"
xdotool key Return
# The replay: the widest window of the game but the main one.
replay_open() {
  local id width best=0
  replay=
  for id in $(game_windows); do
    [ "$id" = "$win" ] || [ "$id" = "$map" ] || [ "$id" = "$chooser" ] && continue
    width=$(xdotool getwindowgeometry --shell "$id" | sed -n 's/^WIDTH=//p')
    if [ "${width:-0}" -gt 800 ] && [ "$width" -gt "$best" ]; then
      best=$width
      replay=$id
    fi
  done
  [ -n "$replay" ]
}
poll 30 replay_open || fail "the replay did not open"
# The graded save is the best one, the solved milk task: its third row.
xdotool key Down Down Down
stable "$replay" "$out/replay.png"
xdotool key Escape

# A worksheet from the book, and its key.
"$app" --worksheet book=23,29,6 -o "$work/sheet.pdf" --key "$work/key.pdf"
pdftoppm -r 70 -png -f 1 -l 1 -singlefile "$work/sheet.pdf" "$out/worksheet-page"
pdftoppm -r 70 -png -f 1 -l 1 -singlefile "$work/key.pdf" "$out/worksheet-key"

passed=1
echo "Saved $out/main-window.png, $out/task-milk.png, $out/task-kvass.png, $out/map-window.png, $out/map-milk.png,"
echo "      $out/replay.png, $out/worksheet-page.png, $out/worksheet-key.png"
