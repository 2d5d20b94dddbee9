#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Plays the milk task on the real program under Xvfb with the keyboard
# alone: Alt+З and Enter start the task, digit pairs pour it to the goal,
# Enter closes each message box, Escape the window of the win that follows
# the goal's box, Ctrl+Z takes the last pour back and Ctrl+S saves. Checked
# by the screen, the boxes' titles and the file written.
# Usage: play_by_keyboard.sh PATH_TO_SOSUDNIK
set -euo pipefail
. "$(dirname "$0")/../../tools/game_under_x.sh"

app=$(realpath -- "${1:?usage: play_by_keyboard.sh PATH_TO_SOSUDNIK}")
[ -x "$app" ] || fail "no program at $app"
need "packages xvfb, xdotool, imagemagick, libc-bin; ./test.sh installs them" Xvfb xdotool import convert iconv

game_setup keys
start_game "$app"
wait_main_window 642
echo "main window $win, menu bar $menu px, display $DISPLAY"

# No mouse in this game: the pointer waits in a corner, off every window, so
# no key reaches the program by where the pointer happens to be.
xdotool mousemove --sync 1279 1023

# Picture geometries in the form (x y w h) and the vessels' capacities.
pics=("32 48 105 145" "176 88 81 105" "296 120 65 73")
caps=(12 7 5)

# vessel N LEVEL: picture N shows LEVEL of its capacity: white above the
# liquid's edge, blue below it (the edge itself is the outline pen's row).
vessel() {
  local x y w h c top
  read -r x y w h <<<"${pics[$1 - 1]}"
  c=${caps[$1 - 1]}
  top=$((h - $2 * h / c))
  if [ "$2" -eq 0 ] || [ "$top" -ge $((h - 1)) ]; then
    region $((x + 1)) $((y + 1)) $((w - 2)) $((h - 2)) FFFFFF
  elif [ "$top" -le 0 ]; then
    region $((x + 1)) $((y + 1)) $((w - 2)) $((h - 2)) 0000FF
  else
    { [ "$top" -le 1 ] || region $((x + 1)) $((y + 1)) $((w - 2)) $((top - 1)) FFFFFF; } &&
      { [ "$top" -ge $((h - 2)) ] || region $((x + 1)) $((y + top + 1)) $((w - 2)) $((h - 2 - top)) 0000FF; }
  fi
}

levels() {
  vessel 1 "$1" && vessel 2 "$2" && vessel 3 "$3"
}

# The mark of a source: a ring just outside picture 1's outline, in a colour
# other than the form's.
ring() {
  [ "$(pixel 30 100)" != "$(pixel 20 100)" ] && [ "$(pixel 84 46)" = "$(pixel 30 100)" ]
}
no_ring() {
  [ "$(pixel 30 100)" = "$(pixel 20 100)" ]
}

# --- the keyboard -----------------------------------------------------------

# box TITLE: waits for a message box, checks its title, closes it with Enter.
box() {
  poll 30 other_shown || fail "no box \"$1\" within 30 s"
  local title
  title=$(xdotool getwindowname "$other" 2>/dev/null || true)
  [ "$title" = "$1" ] || fail "a box titled \"$title\" instead of \"$1\""
  # The box takes the keyboard when it shows.
  poll 20 has_focus "$other" || fail "the box \"$1\" never got the keyboard"
  xdotool key Return
  poll 20 gone "$other" || fail "Enter did not close the box \"$1\""
  echo "box \"$1\" closed with Enter"
}


wait_for 30 "the three empty pictures" levels 0 0 0
focus "$win"

# "&Задачи" with Alt+З.
open_by_key alt+Cyrillic_ze "Alt+З did not open the task dialog"
dlg=$other
[ "$(xdotool getwindowname "$dlg")" = "Выбор задачи" ] || fail "Alt+З opened \"$(xdotool getwindowname "$dlg")\""
focus "$dlg"
xdotool key Return # "Принять": the milk task, the first page
in_play() {
  levels 12 0 0 && enabled 539 347 75 27
}
wait_for 30 "the milk task in play (12, 0, 0 and \"Запись результата\" enabled)" in_play
! other_window >/dev/null || fail "the task dialog is still open"
focus "$win"

# The first digit marks the source with a ring; the same digit lets go.
xdotool key 1
wait_for 20 "the ring around vessel 1 after the key 1" ring
xdotool key 1
wait_for 20 "no ring after the key 1 again" no_ring

# The milk task in ten pours: 6 litres end in vessel 2.
pours=("1 2 5 7 0" "2 3 5 2 5" "3 1 10 2 0" "2 3 10 0 2" "1 2 3 7 2"
  "2 3 3 4 5" "3 1 8 4 0" "2 3 8 0 4" "1 2 1 7 4" "2 3 1 6 5")
for p in "${pours[@]}"; do
  read -r from to l1 l2 l3 <<<"$p"
  xdotool key "$from" "$to"
  wait_for 20 "levels $l1, $l2, $l3 after pouring $from into $to" levels "$l1" "$l2" "$l3"
done
echo "solved with ten pours by digits"
box "Внимание"

# Then the win, over the game, with the keyboard; Escape gives the game back.
poll 30 other_shown || fail "no «Задача решена» after the goal's box"
[ "$(xdotool getwindowname "$other" 2>/dev/null || true)" = "Задача решена" ] ||
  fail "after the goal's box: \"$(xdotool getwindowname "$other" 2>/dev/null || true)\""
poll 20 has_focus "$other" || fail "«Задача решена» never got the keyboard"
xdotool key Escape
poll 20 no_other_window || fail "Escape did not close «Задача решена»"

focus "$win"
xdotool key ctrl+z
wait_for 20 "levels 1, 7, 4 after Ctrl+Z" levels 1 7 4

xdotool key ctrl+s
box "Запись файла"

# Ten rows: the start row and nine pours, the tenth taken back.
file="$work/run/sosudnik.xml"
[ -s "$file" ] || fail "no sosudnik.xml in the program's directory"
text=$(iconv -f windows-1251 -t utf-8 "$file") || fail "sosudnik.xml is not windows-1251 text"
records=$(grep -o '<Record ' <<<"$text" | wc -l)
[ "$records" -eq 10 ] || fail "sosudnik.xml holds $records records, not 10"
grep -q '<Record Column0="9" Column1="1" Column2="7" Column3="4"/></Data>' <<<"$text" ||
  fail "the last record of sosudnik.xml is not 9: 1, 7, 4"
grep -q 'Caption="Ход"' <<<"$text" || fail "sosudnik.xml lacks its first column's caption"

passed=1
echo "PASS: the milk task solved, a pour taken back and the result saved with the keyboard alone"
