#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Plays the milk task on the real program under Xvfb: types the task in,
# pours vessel 1 into vessel 2 with a real mouse drag and reads the result
# off the screen.
# Usage: pour_by_drag.sh PATH_TO_SOSUDNIK
set -euo pipefail
. "$(dirname "$0")/../../tools/xvfb.sh"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

app=$(realpath -- "${1:?usage: pour_by_drag.sh PATH_TO_SOSUDNIK}")
[ -x "$app" ] || fail "no program at $app"
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null 2>&1 ||
    fail "$tool is missing (packages xvfb, xdotool, imagemagick; ./test.sh installs them)"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/sosudnik-e2e.XXXXXX")
app_pid=
passed=

cleanup() {
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
trap cleanup EXIT
trap 'exit 130' INT TERM

# --- the X server -----------------------------------------------------------

start_xvfb "$work/xvfb.log" || fail "no X display could be started on :90..:139: $(cat "$work/xvfb.log" 2>/dev/null)"

# --- the program ------------------------------------------------------------

mkdir -p "$work/run" "$work/home"
chmod 700 "$work/run"
(
  cd "$work/run"
  exec env HOME="$work/home" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=xcb "$app" </dev/null >"$work/app.log" 2>&1
) &
app_pid=$!

alive() {
  kill -0 "$app_pid" 2>/dev/null || fail "the program exited"
}

# The program's visible windows, by its process id: the Cyrillic title is
# not matched in every locale.
windows() {
  xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null || true
}

# The main window is the 642-wide one; menus and boxes are windows too.
win=
for _ in $(seq 300); do
  alive
  for id in $(windows); do
    WIDTH=0
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | grep -E '^(X|Y|WIDTH|HEIGHT)=')" || continue
    if [ "${WIDTH:-0}" -eq 642 ]; then
      win=$id
      break 2
    fi
  done
  sleep 0.1
done
[ -n "$win" ] || fail "no main window within 30 s"
wx=$X wy=$Y
# Form 642x448 plus a 25-pixel status bar; the menu bar takes the rest.
menu=$((HEIGHT - 473))
if [ "$menu" -lt 10 ] || [ "$menu" -gt 60 ]; then
  fail "window is 642x$HEIGHT; the menu bar would be $menu px"
fi
echo "main window $win at $wx,$wy, menu bar $menu px, display $DISPLAY"

# --- reading the screen -----------------------------------------------------

shot="$work/screen.png"
shoot() {
  import -silent -window "$win" "$shot" 2>/dev/null
}

# region X Y W H COLOUR: every pixel of the rectangle (form coordinates) is
# COLOUR (hex RRGGBB).
region() {
  local got
  got=$(convert "$shot" -crop "$3x$4+$1+$(($2 + menu))" +repage -format '%k %[hex:p{0,0}]' info: 2>/dev/null) || return 1
  [ "$got" = "1 $5" ]
}

# not_region X Y W H COLOUR: no pixel of the rectangle is COLOUR.
not_region() {
  local colours
  colours=$(convert "$shot" -crop "$3x$4+$1+$(($2 + menu))" +repage -format %c histogram:info: 2>/dev/null) || return 1
  ! grep -qi "#$5" <<<"$colours"
}

# Dark text: the caption of an enabled button; a disabled one is grey.
dark_pixels() {
  convert "$shot" -crop "$3x$4+$1+$(($2 + menu))" +repage -colorspace gray -threshold 40% \
    -format '%[fx:round((1-mean)*w*h)]' info: 2>/dev/null
}
enabled() {
  local n
  n=$(dark_pixels "$@") || return 1
  [ "$n" -gt 30 ]
}

# wait_for SECONDS WHAT CHECK...: polls the screen until CHECK holds.
wait_for() {
  local seconds=$1 what=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  while :; do
    alive
    if shoot && "$@"; then
      return 0
    fi
    if [ "$SECONDS" -ge "$deadline" ]; then
      cp -f "$shot" "$work/failed.png" 2>/dev/null || true
      fail "$what not seen within $seconds s (last screen: $work/failed.png)"
    fi
    sleep 0.2
  done
}

# Absolute position of a form point, for the mouse.
at() {
  echo "$((wx + $1)) $((wy + menu + $2))"
}
click() {
  # shellcheck disable=SC2046
  xdotool mousemove --sync $(at "$1" "$2") click 1
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

# Data -> New, from the menu: the first menu sits at the bar's left end.
xdotool mousemove --sync $((wx + 15)) $((wy + menu / 2)) click 1
popup=
for _ in $(seq 200); do
  alive
  for id in $(windows); do
    [ "$id" != "$win" ] && popup=$id && break 2
  done
  sleep 0.1
done
[ -n "$popup" ] || fail "the menu \"Данные\" did not open within 20 s"
xdotool key Down Return
wait_for 20 "input mode (\"Начать переливание\" enabled)" enabled 419 347 83 27

# The milk task: capacities 12, 7, 5; levels 12, 0, 0; get 6.
fields=("72 282 12" "200 282 7" "312 282 5" "72 346 12" "200 346 0" "312 346 0" "72 410 6")
for f in "${fields[@]}"; do
  read -r fx fy value <<<"$f"
  click $((fx + 15)) $((fy + 12))
  xdotool type --delay 20 "$value"
done

typed() {
  # shellcheck disable=SC2046
  region $(inside pic1) 0000FF && region $(inside pic2) FFFFFF && region $(inside pic3) FFFFFF
}
wait_for 20 "vessel 1 full and vessels 2 and 3 empty after typing the task" typed

click $((416 + 44)) $((344 + 16))
wait_for 20 "play mode (\"Запись результата\" enabled)" enabled 539 347 75 27

# Pour 1 -> 2: press on the centre of picture 1, carry it in steps to the
# centre of picture 2, let go.
read -r x1 y1 <<<"$(at $((pic1[0] + pic1[2] / 2)) $((pic1[1] + pic1[3] / 2)))"
read -r x2 y2 <<<"$(at $((pic2[0] + pic2[2] / 2)) $((pic2[1] + pic2[3] / 2)))"
xdotool mousemove --sync "$x1" "$y1"
xdotool mousedown 1
steps=10
for i in $(seq 1 $steps); do
  xdotool mousemove --sync $((x1 + (x2 - x1) * i / steps)) $((y1 + (y2 - y1) * i / steps))
  sleep 0.03
done
xdotool mouseup 1

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
for id in $(windows); do
  [ "$id" = "$win" ] || fail "an unexpected window is open: $(xdotool getwindowname "$id" 2>/dev/null)"
done

passed=1
echo "PASS: vessel 1 poured into vessel 2 by dragging"
