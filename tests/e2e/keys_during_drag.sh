#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# With a vessel picture being dragged, the shortcuts pressed on a real X
# keyboard change nothing (Ctrl+Z used to take the last pour back, and the
# drop then poured from the undone position; Ctrl+H opened the hint), and the
# drop pours from where the drag began. Read from the saved result file.
# Usage: keys_during_drag.sh PATH_TO_SOSUDNIK
set -euo pipefail
. "$(dirname "$0")/../../tools/game_under_x.sh"

app=$(realpath -- "${1:?usage: keys_during_drag.sh PATH_TO_SOSUDNIK}")
[ -x "$app" ] || fail "no program at $app"
need "packages xvfb, xdotool; ./test.sh installs them" Xvfb xdotool iconv

game_setup drag-keys
start_game "$app" 12,7,5/12,0,0/6
wait_main_window
xdotool windowfocus --sync "$win" 2>/dev/null || true

# The centres of the pictures, in form coordinates.
drag 84 120 216 140 # 1 -> 2: 5 7 0

point_at 216 140
xdotool mousedown 1
for i in 1 2 3 4 5; do
  xdotool mousemove --sync $((wx + 216 + 12 * i)) $((wy + menu + 140 + 2 * i))
done
xdotool key ctrl+z ctrl+h ctrl+s ctrl+r ctrl+t
# Whatever those keys would have opened has had its time to show.
poll 1 other_shown && fail "a window opened in the middle of the drag"
for i in 1 2 3 4 5; do
  xdotool mousemove --sync $((wx + 276 + 10 * i)) $((wy + menu + 150))
done
xdotool mouseup 1
[ ! -e "$work/run/sosudnik.xml" ] || fail "Ctrl+S saved in the middle of the drag"

# Now the keys act: save, and answer the box.
xdotool key ctrl+s
poll 20 test -s "$work/run/sosudnik.xml" || fail "no file saved after the drop"
rows=$(iconv -f windows-1251 -t utf-8 "$work/run/sosudnik.xml" | grep -o '<Record [^>]*>' | tr '\n' ' ')
expected='<Record Column0="0" Column1="12" Column2="0" Column3="0"/> <Record Column0="1" Column1="5" Column2="7" Column3="0"/> <Record Column0="2" Column1="5" Column2="2" Column3="5"/> '
[ "$rows" = "$expected" ] || fail "rows after the drag: $rows"
echo "ok: the drag's keys did nothing, the drop poured 2 -> 3 from 5 7 0"
passed=1
