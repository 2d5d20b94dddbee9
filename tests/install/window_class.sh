#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Starts the real program under Xvfb and checks that an X11 desktop can match
# its window to the launcher: the window's WM_CLASS instance is the launcher's
# StartupWMClass. (Wayland matches by the application id, which the program
# sets as its desktop file name.)
# Usage: window_class.sh PATH_TO_SOSUDNIK DESKTOP_FILE
set -euo pipefail
. "$(dirname "$0")/../../tools/game_under_x.sh"

app=$(realpath -- "${1:?usage: window_class.sh PATH_TO_SOSUDNIK DESKTOP_FILE}")
desktop=${2:?desktop file}
need "packages xvfb, xdotool, x11-utils; ./test.sh installs them" Xvfb xdotool xprop
wanted=$(sed -n 's/^StartupWMClass=//p' "$desktop")
[ -n "$wanted" ] || fail "$desktop has no StartupWMClass"

game_setup wmclass
start_game "$app"
wait_main_window

# WM_CLASS(STRING) = "instance", "class"
instance=$(xprop -id "$win" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "\([^"]*\)".*/\1/p')
[ "$instance" = "$wanted" ] || fail "the window's WM_CLASS instance is '$instance', the launcher expects '$wanted'"
passed=1
