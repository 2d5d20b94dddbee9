#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# The book and «Как играть» on small screens under Xvfb, with the game at
# its largest scale there: 1024 x 600 after «Крупнее» as far as it goes, and
# 1366 x 768 at «По размеру экрана». Each window lies wholly on the screen.
# Usage: dialogs_fit.sh PATH_TO_SOSUDNIK
set -euo pipefail
. "$(dirname "$0")/../../tools/game_under_x.sh"

app=$(realpath -- "${1:?usage: dialogs_fit.sh PATH_TO_SOSUDNIK}")
[ -x "$app" ] || fail "no program at $app"
need "packages xvfb, xdotool, x11-xkb-utils; ./test.sh installs them" Xvfb xdotool setxkbmap

# fits ID W H: the window lies wholly on a W x H screen.
fits() {
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  echo "  window $1 at $X,$Y ${WIDTH}x$HEIGHT"
  [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le "$2" ] && [ $((Y + HEIGHT)) -le "$3" ]
}

width_of() {
  xdotool getwindowgeometry --shell "$win" | sed -n 's/^WIDTH=//p'
}

# grown: «Крупнее» has nothing more to give (the width stays).
grown_width=0
grown() {
  local now
  xdotool windowfocus --sync "$win" 2>/dev/null || true
  xdotool key ctrl+equal
  now=$(width_of)
  [ "$now" -eq "$grown_width" ] && return 0
  grown_width=$now
  return 1
}

# check SCREEN W H ZOOM: the book and the rules on that screen.
check() {
  local w=$2 h=$3
  stop_pid "$app_pid"
  app_pid=
  stop_xvfb
  XVFB_SCREEN=$1 start_xvfb "$work/xvfb.log" || fail "no X display for $1"
  setxkbmap -display "$DISPLAY" us
  start_game "$app" 8,5,3/8,0,0/4
  wait_main_window
  xdotool windowfocus --sync "$win" 2>/dev/null || true
  if [ "$4" = larger ]; then
    grown_width=$(width_of)
    poll 60 grown || fail "$1: «Крупнее» never stopped growing"
  else
    open_by_key alt+b "$1: no «Игра»"
    xdotool key v h # «Масштаб» → «По размеру экрана»
    poll 30 no_other_window || fail "$1: the menu stayed open"
  fi
  fits "$win" "$w" "$h" || fail "$1: the game's window is off the screen"

  open_by_key alt+b "$1: no «Игра»"
  xdotool key c # «Сборник задач…»
  poll 30 book_up || fail "$1: no book"
  fits "$other" "$w" "$h" || fail "$1: the book runs off the screen"
  xdotool key Escape
  poll 30 no_other_window || fail "$1: the book stayed open"

  xdotool windowfocus --sync "$win" 2>/dev/null || true
  open_by_key F1 "$1: no «Как играть»"
  fits "$other" "$w" "$h" || fail "$1: «Как играть» runs off the screen"
  echo "ok: $1 ($4): the book and the rules on the screen"
}

# The book, not the menu that opened it.
book_up() {
  other_shown && [ "$(xdotool getwindowname "$other" 2>/dev/null || true)" = "Сборник задач" ]
}

game_setup dialogs-fit
check 1024x600x24 1024 600 larger
check 1366x768x24 1366 768 fill
passed=1
