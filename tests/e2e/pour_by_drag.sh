#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Plays the milk task on the real program under Xvfb: types the task in,
# pours vessel 1 into vessel 2 with a real mouse drag and reads the result
# off the screen.
# Usage: pour_by_drag.sh PATH_TO_SOSUDNIK
set -euo pipefail
. "$(dirname "$0")/../../tools/game_under_x.sh"

app=$(realpath -- "${1:?usage: pour_by_drag.sh PATH_TO_SOSUDNIK}")
[ -x "$app" ] || fail "no program at $app"
need "packages xvfb, xdotool, imagemagick; ./test.sh installs them" Xvfb xdotool import convert

game_setup e2e
start_game "$app"
wait_main_window 642
if [ "$menu" -lt 10 ] || [ "$menu" -gt 60 ]; then
  fail "window is 642x$wh; the menu bar would be $menu px"
fi
echo "main window $win at $wx,$wy, menu bar $menu px, display $DISPLAY"

# --- reading the screen -----------------------------------------------------

# not_region X Y W H COLOUR: no pixel of the rectangle is COLOUR.
not_region() {
  local colours
  colours=$(convert "$shot" -crop "$3x$4+$1+$(($2 + menu))" +repage -format %c histogram:info: 2>/dev/null) || return 1
  ! grep -qi "#$5" <<<"$colours"
}

# Picture geometries in the form: x y w h; the helpers take them by name.
pic1=(32 48 105 145)
pic2=(176 88 81 105)
# shellcheck disable=SC2034
pic3=(296 120 65 73)

# The inside of a picture, within its outline.
inside() {
  local -n p=$1
  echo "$((p[0] + 1)) $((p[1] + 1)) $((p[2] - 2)) $((p[3] - 2))"
}

outline_at() {
  local -n p=$1
  local x=${p[0]} y=${p[1]} w=${p[2]} h=${p[3]}
  region "$x" "$y" "$w" 1 000000 && region "$x" $((y + h - 1)) "$w" 1 000000 &&
    region "$x" "$y" 1 "$h" 000000 && region $((x + w - 1)) "$y" 1 "$h" 000000
}

# --- the game ---------------------------------------------------------------

empty_pictures() {
  # shellcheck disable=SC2046
  outline_at pic1 && outline_at pic2 && outline_at pic3 &&
    region $(inside pic1) FFFFFF && region $(inside pic2) FFFFFF && region $(inside pic3) FFFFFF
}
wait_for 30 "the three empty pictures" empty_pictures

new_game
wait_for 20 "input mode (\"Начать переливание\" enabled)" enabled 419 347 83 27

# The milk task: capacities 12, 7, 5; levels 12, 0, 0; get 6.
type_task 12 7 5 12 0 0 6

typed() {
  # shellcheck disable=SC2046
  region $(inside pic1) 0000FF && region $(inside pic2) FFFFFF && region $(inside pic3) FFFFFF
}
wait_for 20 "vessel 1 full and vessels 2 and 3 empty after typing the task" typed

click $((416 + 44)) $((344 + 16))
wait_for 20 "play mode (\"Запись результата\" enabled)" enabled 539 347 75 27

# Pour 1 -> 2: press on the centre of picture 1, carry it in steps to the
# centre of picture 2, let go.
drag $((pic1[0] + pic1[2] / 2)) $((pic1[1] + pic1[3] / 2)) $((pic2[0] + pic2[2] / 2)) $((pic2[1] + pic2[3] / 2))

# Vessel 1 keeps 5 of 12: the liquid's top row is 145 - 5*145/12 = 85, so
# rows 1..84 are white and 86..143 blue (row 85 is the liquid's edge, drawn
# with the outline pen). Vessel 2 holds 7 of 7: blue all over.
poured() {
  local x=$((pic1[0] + 1)) y=${pic1[1]} w=$((pic1[2] - 2))
  # shellcheck disable=SC2046
  region "$x" $((y + 1)) "$w" 84 FFFFFF && region "$x" $((y + 86)) "$w" 58 0000FF &&
    region $(inside pic2) 0000FF && region $(inside pic3) FFFFFF
}
wait_for 30 "vessel 1 at 5 of 12 and vessel 2 full after the pour" poured

# Picture 1 went back home: its outline where it started, with the form's
# background (not black) just outside it.
home() {
  outline_at pic1 && outline_at pic2 && outline_at pic3 &&
    not_region $((pic1[0] - 1)) "${pic1[1]}" 1 "${pic1[3]}" 000000 &&
    not_region $((pic1[0] + pic1[2])) "${pic1[1]}" 1 "${pic1[3]}" 000000 &&
    not_region "${pic1[0]}" $((pic1[1] - 1)) "${pic1[2]}" 1 000000
}
wait_for 20 "picture 1 back at 32,48 after the drag" home

# No box came up: pouring 7 of 12 into an empty 7 moves something and does
# not reach 6.
for id in $(game_windows); do
  [ "$id" = "$win" ] || fail "an unexpected window is open: $(xdotool getwindowname "$id" 2>/dev/null)"
done

passed=1
echo "PASS: vessel 1 poured into vessel 2 by dragging"
