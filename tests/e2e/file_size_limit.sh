#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# The real program under a file-size limit of 300 bytes (the soft limit; the
# hard one stays open so the test can lift it), under Xvfb: a save
# that would pass the limit must fail like a full disk — the error box says
# why in Russian, the earlier sosudnik.xml stays as it was, the program
# goes on with its log, and a save once the limit is lifted writes that log.
# The box's text is read the way a user could take it: Ctrl+C on the box puts
# it on the clipboard, and xclip reads it from there. Keys go through XTEST to
# the focused box: with the synthetic events of xdotool key --window, the box
# of the next save closed as soon as it opened.
# Usage: file_size_limit.sh PATH_TO_SOSUDNIK
set -euo pipefail
. "$(dirname "$0")/../../tools/game_under_x.sh"

app=$(realpath -- "${1:?usage: file_size_limit.sh PATH_TO_SOSUDNIK}")
[ -x "$app" ] || fail "no program at $app"
need "packages xvfb, xdotool, xclip, imagemagick, util-linux; ./test.sh installs them" \
  Xvfb xdotool xclip import convert prlimit

game_setup fsize

# The earlier result file, which a failed save must leave alone.
mkdir -p "$work/run"
printf '<?xml version="1.0"?>\n<ListStore/>\n' >"$work/run/sosudnik.xml"
cp "$work/run/sosudnik.xml" "$work/earlier.xml"

start_game prlimit --fsize=300:unlimited "$app"
wait_main_window 642

# --- a game with its start row -------------------------------------------------

# Data -> New from the menu, then "Начать переливание" with the fields empty.
new_game
wait_for 30 "input mode (\"Начать переливание\" enabled)" enabled 419 347 83 27
click $((416 + 44)) $((344 + 16))
wait_for 30 "play mode (\"Запись результата\" enabled)" enabled 539 347 75 27

# --- the box -------------------------------------------------------------------

# box_says CAPTION LINE: waits for a box (another window of the program),
# copies its text with Ctrl+C until the copy holds CAPTION and LINE as lines
# of their own (a copy taken too early still holds the clipboard's last
# text); sets other. The copy, not the window's name, is checked: a Cyrillic
# name does not read back the same in every locale.
box_says() {
  poll 20 other_shown || fail "no box within 20 s"
  local text=""
  for _ in $(seq 50); do
    alive
    xdotool windowfocus --sync "$other" 2>/dev/null || true
    xdotool key ctrl+c
    text=$(timeout 5 xclip -o -selection clipboard 2>/dev/null || true)
    grep -qxF -- "$1" <<<"$text" && grep -qxF -- "$2" <<<"$text" && return 0
    sleep 0.2
  done
  fail "the box does not say \"$1\" / \"$2\"; its copy reads: $text"
}

close_box() {
  xdotool windowfocus --sync "$other" 2>/dev/null || true
  xdotool key Return
  poll 20 no_other_window || fail "the box did not close"
}

# "Запись результата" under the limit.
click $((536 + 40)) $((344 + 16))
reason='Файл "sosudnik.xml" не записан: файл превысил допустимый размер.'
box_says 'Сосудник' "$reason"
close_box
alive
cmp -s "$work/earlier.xml" "$work/run/sosudnik.xml" || fail "the earlier sosudnik.xml was changed"
leftovers=$(find "$work/run" -mindepth 1 ! -name sosudnik.xml)
[ -z "$leftovers" ] || fail "files left beside it: $leftovers"
echo "under the limit: \"$reason\", the earlier file intact, the program running"

# Lifted, the next save writes the log the program kept: its start row.
prlimit --pid "$app_pid" --fsize=unlimited
click $((536 + 40)) $((344 + 16))
box_says 'Запись файла' 'Файл "sosudnik.xml" записан'
close_box
grep -q '<Record Column0="0" Column1="0" Column2="0" Column3="0"/>' "$work/run/sosudnik.xml" ||
  fail "the file lacks the start row: $(cat "$work/run/sosudnik.xml")"

passed=1
echo "PASS: a save past the file-size limit fails like a full disk; the log is kept"
