#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# The real program on screens of several sizes and scales, under Xvfb: where
# the window does not fit at its designed size it opens at the largest scale
# that does (wholly on the screen, its close box included); where it fits it
# keeps its size; and "Крупнее" (Ctrl+=) goes up to a screen filled.
# Usage: screen_fit.sh PATH_TO_SOSUDNIK
set -euo pipefail
. "$(dirname "$0")/../../tools/game_under_x.sh"

app=$(realpath -- "${1:?usage: screen_fit.sh PATH_TO_SOSUDNIK}")
[ -x "$app" ] || fail "no program at $app"
need "packages xvfb, xdotool; ./test.sh installs them" Xvfb xdotool

# geometry: sets gx, gy, gw, gh of the main window, in the screen's pixels.
geometry() {
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$win" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  gx=$X gy=$Y gw=$WIDTH gh=$HEIGHT
}

# on_screen W H: the whole window lies on a W x H screen.
on_screen() {
  geometry
  [ "$gx" -ge 0 ] && [ "$gy" -ge 0 ] && [ $((gx + gw)) -le "$1" ] && [ $((gy + gh)) -le "$2" ]
}

# fits W H [TEST VALUE]: the window lies wholly on a W x H screen, and its
# width passes the test ("-eq 642"), if one is given.
fits() {
  on_screen "$1" "$2" && { [ $# -lt 4 ] || [ "$gw" "$3" "$4" ]; }
}

# filled: the window lies on the 4K screen and takes nearly all its height.
filled() {
  on_screen 3840 2160 && [ "$gh" -ge 1900 ]
}

# taller_than H: the window is now taller than H.
taller_than() {
  geometry
  [ "$gh" -gt "$1" ]
}

# case SCREEN SCALE: starts the game on a fresh Xvfb of that size and scale.
# The window may move or shrink after it first shows: each case polls for
# where it should end up.
start_on() {
  stop_pid "$app_pid"
  app_pid=
  stop_xvfb
  XVFB_SCREEN=$1 start_xvfb "$work/xvfb.log" || fail "no X display for $1"
  start_game env QT_SCALE_FACTOR="$2" "$app" 12,7,5/12,0,0/6
  poll 30 main_window_shown || fail "no window on $1 at $2"
}

game_setup fit

# 800 x 600 at 100 %: the designed size fits and is kept.
start_on 800x600x24 1
poll 30 fits 800 600 -eq 642 || fail "800x600: window at $gx,$gy ${gw}x$gh, not wholly on the screen 642 wide"

# 1024 x 600 at 125 %: too low for the designed size.
start_on 1024x600x24 1.25
poll 30 fits 1024 600 -lt 802 ||
  fail "1024x600 at 125 %: window at $gx,$gy ${gw}x$gh, not wholly on the screen and smaller than 802 wide"

# 1280 x 1024 at 200 %: 1284 wide at the designed size; the close box was off the screen.
start_on 1280x1024x24 2
poll 30 fits 1280 1024 || fail "1280x1024 at 200 %: window at $gx,$gy ${gw}x$gh"

# 3840 x 2160: "Крупнее" as far as it goes fills the screen.
start_on 3840x2160x24 1
xdotool windowfocus --sync "$win" 2>/dev/null || true
# Each step waits for the window to grow, until it fills the screen.
for _ in $(seq 16); do
  filled && break
  before=$gh
  xdotool key ctrl+equal
  poll 30 taller_than "$before" || fail "4K: Ctrl+= left the window at ${gw}x$gh"
done
filled || fail "4K: the screen is not filled: window at $gx,$gy ${gw}x$gh"
echo "ok: 4K filled at ${gw}x$gh"
passed=1
