#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Start-up pays for nothing the first frame does not show. The game is linked
# with no library that a Qt window with one line of text does not load, and once its window is up and still it has mapped no shared library that such
# a window has not; libxml2, through the game's lazy library, comes with the
# first save. A library the first frame does not need belongs in a lazy library
# (lazy/lazy_library.h; README, "Libraries loaded on first use").
# Usage: loaded_on_first_use.sh PATH_TO_SOSUDNIK PATH_TO_REFERENCE_WINDOW
set -euo pipefail
. "$(dirname "$0")/../../tools/game_under_x.sh"

app=$(realpath -- "${1:?usage: loaded_on_first_use.sh PATH_TO_SOSUDNIK PATH_TO_REFERENCE_WINDOW}")
reference=$(realpath -- "${2:?the reference window}")
[ -x "$app" ] || fail "no program at $app"
[ -x "$reference" ] || fail "no program at $reference"
need "packages xvfb, xdotool, imagemagick, binutils; ./test.sh installs them" Xvfb xdotool import compare readelf ldd

# --- linked --------------------------------------------------------------------

needed() {
  readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p' | sort -u
}
# Every library the reference loads as it starts, by the names programs ask
# for; the dynamic loader is listed by its path.
loaded_by_reference() {
  ldd "$reference" | awk '$2 == "=>" { print $1 } $1 ~ /^\// { n = split($1, part, "/"); print part[n] }' | sort -u
}
extra=$(comm -23 <(needed "$app") <(loaded_by_reference))
[ -z "$extra" ] || fail "the game is linked with what a Qt window does not load: $(echo $extra); open it on first use"
echo "linked: $(needed "$app" | wc -l) libraries, each one a Qt window with text loads too"

# --- mapped once the window is up ----------------------------------------------

game_setup first-use

# The shared libraries a process has mapped, by file name.
mapped() {
  awk '$6 ~ /\.so/ { n = split($6, part, "/"); print part[n] }' "/proc/$app_pid/maps" | sort -u
}

# up SAVE_AS: waits until the window is shown and has stopped changing, then
# notes what the program has mapped.
up() {
  wait_main_window 642
  stable "$win" "$work/$1.png"
  mapped >"$work/$1.maps"
}

start_game "$reference" --text
up reference
stop_pid "$app_pid"
app_pid=

# With a task in play, so that the next key can save.
start_game "$app" 8,5,3/8,0,0/4
up game
extra=$(comm -23 "$work/game.maps" "$work/reference.maps")
[ -z "$extra" ] || fail "at start-up the game has mapped what a window with text has not: $(echo $extra)"
echo "at start-up: $(wc -l <"$work/game.maps") shared libraries mapped, none beyond the window with text's"

# --- the first save ------------------------------------------------------------

saved() {
  [ -s "$work/run/sosudnik.xml" ] && other_shown
}
xdotool windowfocus --sync "$win" 2>/dev/null || true
xdotool key ctrl+s
poll 30 saved || fail "no sosudnik.xml and box within 30 s of Ctrl+S"
grep -q '<Record Column0="0" Column1="8" Column2="0" Column3="0"/>' "$work/run/sosudnik.xml" ||
  fail "the file lacks the start row: $(cat "$work/run/sosudnik.xml")"
mapped >"$work/saved.maps"
for library in libsosudnik_xml.so 'libxml2\.so\..*'; do
  grep -qx "$library" "$work/saved.maps" || fail "after the save, no $library is mapped"
done
echo "after the first save: libsosudnik_xml.so and $(grep -x 'libxml2\.so\..*' "$work/saved.maps") mapped"

passed=1
echo "PASS: start-up loads nothing a window with text does not; libxml2 comes with the first save"
