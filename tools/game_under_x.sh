# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Sourced by the scripts that start the real program under a private X server
# and drive it as a player would. Everything here that gives up calls
# fail MESSAGE, which reports and ends the script; a script may define its
# own after sourcing this.
#
#   need PACKAGES TOOL...   fails unless every TOOL is installed
#   game_setup NAME         a private folder $work (sosudnik-NAME.XXXXXX), the
#                           clean-up on exit, and the X server (tools/xvfb.sh)
#   start_game [VAR=VALUE...] COMMAND...
#                           starts the game; sets app_pid
#   alive                   fails once the game has ended
#   poll SECONDS CHECK...   runs CHECK until it holds; 1 if SECONDS pass first
#   wait_main_window [WIDTH]
#                           sets win (its first window, or the first that wide),
#                           wx, wy, wh and menu (the menu bar's height)
#   other_window            prints a visible window of the game besides win
#   open_by_key KEY MESSAGE presses KEY until another window shows; sets other
#   gone ID                 the window is no longer shown
#   has_focus ID, focus ID  whether ID has the keyboard; gives it the keyboard
#   shoot, region, pixel, enabled, wait_for, click, drag, new_game, type_task
#                           the main window's form as a player sees and uses it
#   stable ID FILE          a capture of a window (or root) once it stops changing
#
# The clean-up stops the game and the X server and removes $work once the
# script has set passed; otherwise it keeps $work and shows the game's log.

. "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"

work=
app_pid=
passed=
win=
other=

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

need() {
  local packages=$1 tool
  shift
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing ($packages)"
  done
}

game_setup() {
  work=$(mktemp -d "${TMPDIR:-/tmp}/sosudnik-$1.XXXXXX")
  shot="$work/screen.png"
  trap game_cleanup EXIT
  trap 'exit 130' INT TERM
  start_xvfb "$work/xvfb.log" ||
    fail "no X display could be started on :90..:139: $(cat "$work/xvfb.log" 2>/dev/null)"
}

game_cleanup() {
  set +e
  stop_pid "$app_pid"
  stop_xvfb
  if [ -n "$passed" ]; then
    rm -rf "$work"
  else
    echo "Screens and logs kept in $work" >&2
    [ -s "$work/app.log" ] && sed 's/^/  app: /' "$work/app.log" >&2
  fi
  return 0
}

# start_game [VAR=VALUE...] COMMAND...: runs COMMAND (the game, or a program
# that execs it) in $work/run, with a home (its records too) and a runtime folder of its own,
# on the X display; VAR=VALUE add to that environment. Its output goes to
# $work/app.log.
start_game() {
  mkdir -p "$work/run" "$work/home" "$work/xdg"
  chmod 700 "$work/xdg"
  (
    cd "$work/run" || exit
    exec env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/xdg" QT_QPA_PLATFORM=xcb "$@" \
      </dev/null >"$work/app.log" 2>&1
  ) &
  app_pid=$!
}

# Not from a $(...) subshell: only this shell can wait for the game.
alive() {
  kill -0 "$app_pid" 2>/dev/null && return 0
  local status=0
  wait "$app_pid" 2>/dev/null || status=$?
  fail "the program ended (exit status $status)"
}

poll() {
  local limit=$((SECONDS + $1))
  shift
  until "$@"; do
    alive
    [ "$SECONDS" -lt "$limit" ] || return 1
    sleep 0.1
  done
}

# The game's visible windows, by its process id: the Cyrillic titles are not
# matched in every locale.
game_windows() {
  xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null || true
}

# Menus and boxes are windows too; the main window is the one 642 wide (on a
# screen at 100 %).
main_window_shown() {
  local id X Y WIDTH HEIGHT
  for id in $(game_windows); do
    WIDTH=
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | grep -E '^(X|Y|WIDTH|HEIGHT)=')" || continue
    [ -n "$WIDTH" ] || continue
    if [ -z "${1:-}" ] || [ "$WIDTH" -eq "$1" ]; then
      win=$id wx=$X wy=$Y wh=$HEIGHT
      return 0
    fi
  done
  return 1
}

# shellcheck disable=SC2120 # WIDTH may be left out
wait_main_window() {
  poll 30 main_window_shown "${1:-}" || fail "no main window within 30 s"
  # Form 642x448 plus a 25-pixel status bar; the menu bar takes the rest.
  menu=$((wh - 473))
}

other_window() {
  local id
  for id in $(game_windows); do
    [ "$id" != "$win" ] && echo "$id" && return 0
  done
  return 1
}

# shellcheck disable=SC2034 # other is for the script
other_shown() {
  other=$(other_window)
}

no_other_window() {
  ! other_window >/dev/null
}

# gone ID: the window is no longer shown.
gone() {
  ! game_windows | grep -qx "$1"
}

has_focus() {
  [ "$(xdotool getwindowfocus 2>/dev/null || true)" = "$1" ]
}

take_focus() {
  has_focus "$1" && return 0
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  return 1
}

# focus ID: gives ID the keyboard, as a window manager would when a dialog
# closes; without one the focus would fall back to the root window.
focus() {
  poll 20 take_focus "$1" || fail "window $1 never got the keyboard"
}

# keycode_of KEYSYM: the key code whose first level is KEYSYM in the server's
# keymap, or nothing. Pressing that code sends the keysym without modifiers:
# given the name, some xdotool versions pick a level of the function keys that
# needs Alt (their type is CTRL+ALT), and F1 arrives as Alt+F1.
keycode_of() {
  local map
  map=$(xkbcomp -xkb "$DISPLAY" - 2>/dev/null) || return 0
  awk -v sym="$1" '
    /^ *<[^>]+> *= *[0-9]+;/ { gsub(/[<>=;]/, " "); code[$1] = $2; next }
    match($0, /key +<[^>]+>/) { name = substr($0, RSTART, RLENGTH); sub(/^key +</, "", name); sub(/>$/, "", name) }
    name != "" {
      line = $0
      gsub(/\[Group[0-9]+\]/, "", line)
      if (!match(line, /\[ *[^], ]+/)) next
      first = substr(line, RSTART + 1, RLENGTH - 1)
      gsub(/ /, "", first)
      if (first == sym && code[name] != "") { print code[name]; exit }
      name = ""
    }' <<<"$map"
}

# open_by_key KEY MESSAGE: xdotool lends a Cyrillic key a spare key code for
# the moment, which a busy program may read too late: KEY goes again until a
# window opens. A key of the keymap goes by its code (see keycode_of).
open_by_key() {
  local key
  key=$(keycode_of "$1")
  for _ in 1 2 3 4 5; do
    xdotool windowfocus --sync "$win" 2>/dev/null || true
    xdotool key "${key:-$1}"
    poll 5 other_shown && return 0
  done
  fail "$2"
}

# --- the main window's form, on the screen ----------------------------------

shoot() {
  import -silent -window "$win" "$shot" 2>/dev/null
}

# region X Y W H COLOUR: every pixel of the rectangle (form coordinates) of
# the last shot is COLOUR (hex RRGGBB).
region() {
  local got
  got=$(convert "$shot" -crop "$3x$4+$1+$(($2 + menu))" +repage -format '%k %[hex:p{0,0}]' info: 2>/dev/null) || return 1
  [ "$got" = "1 $5" ]
}

# pixel X Y: the colour of a form point in the last shot.
pixel() {
  convert "$shot" -format "%[hex:p{$1,$(($2 + menu))}]" info: 2>/dev/null
}

# enabled X Y W H: dark text in the rectangle, the caption of an enabled
# button; a disabled one is grey.
enabled() {
  local n
  n=$(convert "$shot" -crop "$3x$4+$1+$(($2 + menu))" +repage -colorspace gray -threshold 40% \
    -format '%[fx:round((1-mean)*w*h)]' info: 2>/dev/null) || return 1
  [ "$n" -gt 30 ]
}

on_screen() {
  shoot && "$@"
}

# wait_for SECONDS WHAT CHECK...: shoots the main window until CHECK holds.
wait_for() {
  local seconds=$1 what=$2
  shift 2
  poll "$seconds" on_screen "$@" && return 0
  cp -f "$shot" "$work/failed.png" 2>/dev/null || true
  fail "$what not seen within $seconds s (last screen: $work/failed.png)"
}

# From the screen's corner first: --sync waits for the pointer to move, and it
# may already stand on the point.
point_at() {
  xdotool mousemove 0 0 mousemove --sync $((wx + $1)) $((wy + menu + $2))
}

# click X Y: a form point.
click() {
  point_at "$1" "$2"
  xdotool click 1
}

# drag X1 Y1 X2 Y2: press on a form point, carry it in steps to another, let go.
drag() {
  local dx=$(($3 - $1)) dy=$(($4 - $2)) i
  point_at "$1" "$2"
  xdotool mousedown 1
  for i in $(seq 10); do
    xdotool mousemove --sync $((wx + $1 + dx * i / 10)) $((wy + menu + $2 + dy * i / 10))
    sleep 0.03
  done
  xdotool mouseup 1
}

# Data -> New: the first menu sits at the bar's left end, New is its first entry.
new_game() {
  xdotool mousemove --sync $((wx + 15)) $((wy + menu / 2)) click 1
  poll 20 other_shown || fail "the menu \"Данные\" did not open within 20 s"
  xdotool key Down Return
}

# type_task C1 C2 C3 L1 L2 L3 GOAL: fills the fields in input mode.
type_task() {
  local fields=("72 282" "200 282" "312 282" "72 346" "200 346" "312 346" "72 410") values=("$@") i fx fy
  for i in "${!fields[@]}"; do
    read -r fx fy <<<"${fields[i]}"
    click $((fx + 15)) $((fy + 12))
    xdotool type --delay 20 "${values[i]}"
  done
}

# differing A B: how many pixels of two pictures differ. ImageMagick 6 prints
# "12", 7 prints "12 (0.000183)": the first number is the count either way.
differing() {
  local out
  out=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
  echo "${out%% *}"
}

# stable ID FILE: captures the window (or root, the whole screen) until two
# captures in a row agree.
stable() {
  local prev="$work/prev.png" limit=$((SECONDS + 60)) what="the window $1"
  [ "$1" != root ] || what="the screen"
  import -silent -window "$1" "$prev" 2>/dev/null || true
  while :; do
    alive
    sleep 0.2
    if import -silent -window "$1" "$2" 2>/dev/null &&
      [ "$(differing "$prev" "$2")" = 0 ]; then
      return 0
    fi
    [ "$SECONDS" -lt "$limit" ] || fail "$what never stopped changing"
    cp -f "$2" "$prev" 2>/dev/null || true
  done
}
