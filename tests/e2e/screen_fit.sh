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

# case SCREEN SCALE: starts the game on a fresh Xvfb of that size and scale.
start_on() {
  stop_pid "$app_pid"
  app_pid=
  stop_xvfb
  XVFB_SCREEN=$1 start_xvfb "$work/xvfb.log" || fail "no X display for $1"
  start_game env QT_SCALE_FACTOR="$2" "$app" 12,7,5/12,0,0/6
  poll 30 main_window_shown || fail "no window on $1 at $2"
  sleep 0.5
}

game_setup fit

# 800 x 600 at 100 %: the designed size fits and is kept.
start_on 800x600x24 1
on_screen 800 600 || fail "800x600: window at $gx,$gy ${gw}x$gh"
[ "$gw" -eq 642 ] || fail "800x600: window ${gw} wide, not 642"

# 1024 x 600 at 125 %: too low for the designed size.
start_on 1024x600x24 1.25
on_screen 1024 600 || fail "1024x600 at 125 %: window at $gx,$gy ${gw}x$gh"
[ "$gw" -lt 802 ] || fail "1024x600 at 125 %: not made smaller (${gw} wide)"

# 1280 x 1024 at 200 %: 1284 wide at the designed size; the close box was off the screen.
start_on 1280x1024x24 2
on_screen 1280 1024 || fail "1280x1024 at 200 %: window at $gx,$gy ${gw}x$gh"

# 3840 x 2160: "Крупнее" as far as it goes fills the screen.
start_on 3840x2160x24 1
xdotool windowfocus --sync "$win" 2>/dev/null || true
for _ in $(seq 16); do
  xdotool key ctrl+equal
  sleep 0.2
done
poll 10 on_screen 3840 2160 || fail "4K: window off the screen at $gx,$gy ${gw}x$gh"
[ "$gh" -ge 1900 ] || fail "4K: the screen is not filled (${gw}x$gh)"
echo "ok: 4K filled at ${gw}x$gh"
passed=1
