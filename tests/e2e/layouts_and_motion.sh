#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# The real program under Xvfb with the Latin and the Russian keyboard layout
# (setxkbmap us / ru): Alt and the key where И sits opens «Игра», and the key
# where А sits picks «Начать заново», on either layout; F10 opens «Данные».
# Then «Анимация переливания» chosen by its letter, and a pour: once the
# liquid has settled, the window is pixel for pixel the window of the same
# pour without the animation.
# Usage: layouts_and_motion.sh PATH_TO_SOSUDNIK
set -euo pipefail
. "$(dirname "$0")/../../tools/game_under_x.sh"

app=$(realpath -- "${1:?usage: layouts_and_motion.sh PATH_TO_SOSUDNIK}")
[ -x "$app" ] || fail "no program at $app"
need "packages xvfb, xdotool, x11-xkb-utils, imagemagick, libc-bin; ./test.sh installs them" \
  Xvfb xdotool setxkbmap import compare iconv

game_setup layouts
xdotool mousemove --sync 1279 1023

# records: how many rows the saved file holds.
records() {
  iconv -f windows-1251 -t utf-8 "$work/run/sosudnik.xml" | grep -o '<Record ' | wc -l
}
saved_rows() {
  [ -s "$work/run/sosudnik.xml" ] && [ "$(records)" -eq "$1" ]
}

# new_run: the game again, with the kvass task.
new_run() {
  stop_pid "$app_pid"
  app_pid=
  rm -f "$work/run/sosudnik.xml"
  start_game "$app" 8,5,3/8,0,0/4
  wait_main_window
  focus "$win"
}

# LAYOUT ALT_И KEY_А KEY_Н: on that layout, after a pour, «Игра» → «Начать
# заново» by the keys at the places of И and А, then a save: one row.
for case in "us alt+b f" "ru alt+Cyrillic_i Cyrillic_a"; do
  read -r layout alt_i key_a <<<"$case"
  setxkbmap -display "$DISPLAY" "$layout" || fail "setxkbmap $layout"
  new_run
  xdotool key 1 2
  open_by_key "$alt_i" "$layout: Alt+И did not open «Игра»"
  menu_id=$other
  xdotool key "$key_a"
  poll 20 gone "$menu_id" || fail "$layout: the letter А did not pick an entry"
  focus "$win"
  # The save only counts the rows: Ctrl+S on the Latin layout, for a key the
  # layout lacks xdotool maps for a moment, and the game may read the keymap
  # after the mapping is gone.
  setxkbmap -display "$DISPLAY" us
  xdotool key ctrl+s
  poll 30 other_shown || fail "$layout: no box after Ctrl+S"
  xdotool key Return
  # The box gone first: F10 below must not find it instead of the menu.
  poll 30 no_other_window || fail "$layout: the box after Ctrl+S stayed"
  setxkbmap -display "$DISPLAY" "$layout"
  poll 30 saved_rows 1 || fail "$layout: «Начать заново» did not go back to the start row ($(records) rows)"
  echo "ok: $layout: Alt+И, А restarted the game"

  # F10: the first menu; Escape closes it.
  focus "$win"
  open_by_key F10 "$layout: F10 opened nothing"
  xdotool key Escape
  poll 20 no_other_window || fail "$layout: Escape did not close the menu F10 opened"
  echo "ok: $layout: F10 opened a menu"
done

# The same pour with and without the animation, captured once settled.
setxkbmap -display "$DISPLAY" us
new_run
xdotool key 1 2
stable "$win" "$work/at-once.png"

new_run
open_by_key alt+b "Alt+B did not open «Игра»"
menu_id=$other
xdotool key w # Ц: «Анимация переливания»
poll 20 gone "$menu_id" || fail "the letter Ц did not pick «Анимация переливания»"
focus "$win"
xdotool key 1 2
stable "$win" "$work/eased.png"
diff=$(differing "$work/at-once.png" "$work/eased.png")
[ "$diff" = 0 ] || fail "the animation's last frame differs from the picture at once in $diff pixels"
echo "ok: the animation's last frame is the picture drawn at once"
passed=1
