#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# The real program under a file-size limit of 300 bytes (the soft limit; the
# hard one stays open so the test can lift it), under Xvfb: a save
# that would pass the limit must fail like a full disk — the error box says
# "File too large.", the earlier sosudnik.xml stays as it was, the program
# goes on with its log, and a save once the limit is lifted writes that log.
# The box's text is read the way a user could take it: Ctrl+C on the box puts
# it on the clipboard, and xclip reads it from there. Keys go through XTEST to
# the focused box: with the synthetic events of xdotool key --window, the box
# of the next save closed as soon as it opened.
# Usage: file_size_limit.sh PATH_TO_SOSUDNIK
set -euo pipefail
. "$(dirname "$0")/../../tools/xvfb.sh"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

app=$(realpath -- "${1:?usage: file_size_limit.sh PATH_TO_SOSUDNIK}")
[ -x "$app" ] || fail "no program at $app"
for tool in Xvfb xdotool xclip import convert prlimit; do
  command -v "$tool" >/dev/null 2>&1 ||
    fail "$tool is missing (packages xvfb, xdotool, xclip, imagemagick, util-linux; ./test.sh installs them)"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/sosudnik-fsize.XXXXXX")
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

start_xvfb "$work/xvfb.log" || fail "no X display could be started on :90..:139: $(cat "$work/xvfb.log" 2>/dev/null)"

# The earlier result file, which a failed save must leave alone.
mkdir -p "$work/run" "$work/home" "$work/xdg"
chmod 700 "$work/xdg"
printf '<?xml version="1.0"?>\n<ListStore/>\n' >"$work/run/sosudnik.xml"
cp "$work/run/sosudnik.xml" "$work/earlier.xml"

(
  cd "$work/run"
  exec prlimit --fsize=300:unlimited env HOME="$work/home" XDG_RUNTIME_DIR="$work/xdg" QT_QPA_PLATFORM=xcb "$app" \
    </dev/null >"$work/app.log" 2>&1
) &
app_pid=$!

alive() {
  kill -0 "$app_pid" 2>/dev/null || {
    wait "$app_pid" 2>/dev/null && status=0 || status=$?
    fail "the program ended (exit status $status)"
  }
}

windows() {
  xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null || true
}

# --- the main window ---------------------------------------------------------

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
menu=$((HEIGHT - 473))

shot="$work/screen.png"
# Dark text in a rectangle of the form: an enabled button's caption.
enabled() {
  local n
  import -silent -window "$win" "$shot" 2>/dev/null || return 1
  n=$(convert "$shot" -crop "$3x$4+$1+$(($2 + menu))" +repage -colorspace gray -threshold 40% \
    -format '%[fx:round((1-mean)*w*h)]' info: 2>/dev/null) || return 1
  [ "$n" -gt 30 ]
}

wait_for() {
  local what=$1
  shift
  for _ in $(seq 150); do
    alive
    "$@" && return 0
    sleep 0.2
  done
  cp -f "$shot" "$work/failed.png" 2>/dev/null || true
  fail "$what not seen within 30 s"
}

# From the screen's corner first: --sync waits for the pointer to move, and it
# may already stand on the point from the last click.
click() {
  xdotool mousemove 0 0 mousemove --sync $((wx + $1)) $((wy + menu + $2)) click 1
}

# --- a game with its start row -------------------------------------------------

# Data -> New from the menu, then "Начать переливание" with the fields empty.
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
wait_for "input mode (\"Начать переливание\" enabled)" enabled 419 347 83 27
click $((416 + 44)) $((344 + 16))
wait_for "play mode (\"Запись результата\" enabled)" enabled 539 347 75 27

# --- the box -------------------------------------------------------------------

# box_says CAPTION LINE: waits for a box (another window of the program),
# copies its text with Ctrl+C until the copy holds CAPTION and LINE as lines
# of their own (a copy taken too early still holds the clipboard's last
# text); sets box. The copy, not the window's name, is checked: a Cyrillic
# name does not read back the same in every locale.
box=
box_says() {
  box=
  for _ in $(seq 200); do
    alive
    for id in $(windows); do
      [ "$id" != "$win" ] && box=$id && break 2
    done
    sleep 0.1
  done
  [ -n "$box" ] || fail "no box within 20 s"
  local text=""
  for _ in $(seq 50); do
    alive
    xdotool windowfocus --sync "$box" 2>/dev/null || true
    xdotool key ctrl+c
    text=$(timeout 5 xclip -o -selection clipboard 2>/dev/null || true)
    grep -qxF -- "$1" <<<"$text" && grep -qxF -- "$2" <<<"$text" && return 0
    sleep 0.2
  done
  fail "the box does not say \"$1\" / \"$2\"; its copy reads: $text"
}

close_box() {
  xdotool windowfocus --sync "$box" 2>/dev/null || true
  xdotool key Return
  for _ in $(seq 200); do
    alive
    if ! windows | grep -qx "$box"; then
      box=
      return 0
    fi
    sleep 0.1
  done
  fail "the box did not close"
}

# "Запись результата" under the limit.
click $((536 + 40)) $((344 + 16))
box_says 'Сосудник' 'File too large.'
close_box
alive
cmp -s "$work/earlier.xml" "$work/run/sosudnik.xml" || fail "the earlier sosudnik.xml was changed"
leftovers=$(find "$work/run" -mindepth 1 ! -name sosudnik.xml)
[ -z "$leftovers" ] || fail "files left beside it: $leftovers"
echo "under the limit: \"File too large.\", the earlier file intact, the program running"

# Lifted, the next save writes the log the program kept: its start row.
prlimit --pid "$app_pid" --fsize=unlimited
click $((536 + 40)) $((344 + 16))
box_says 'Запись файла' 'Файл "sosudnik.xml" записан'
close_box
grep -q '<Record Column0="0" Column1="0" Column2="0" Column3="0"/>' "$work/run/sosudnik.xml" ||
  fail "the file lacks the start row: $(cat "$work/run/sosudnik.xml")"

passed=1
echo "PASS: a save past the file-size limit fails like a full disk; the log is kept"
