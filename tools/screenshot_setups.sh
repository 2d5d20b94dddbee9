#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Whole-screen pictures of the game on set-ups other than the developer's,
# under a private Xvfb: the task dialog as it opens, then the milk task in
# play (fields disabled, showing its numbers).
# Usage: tools/screenshot_setups.sh OUT_PREFIX [WIDTHxHEIGHT] [dark]
#   writes OUT_PREFIX-tasks.png and OUT_PREFIX-play.png. The environment
#   passes on, so QT_SCALE_FACTOR=1.25 shows a scaled laptop screen; "dark"
#   runs under Qt's GTK platform theme with GTK's dark Adwaita (package
#   qt6-gtk-platformtheme), as a dark GNOME desktop would.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/tools/game_under_x.sh"
prefix=${1:?output prefix}
export XVFB_SCREEN="${2:-1280x1024}x24"
theme=${3:-}
app=${SOSUDNIK:-$top/build/app/sosudnik}

fail() {
  echo "screenshot_setups.sh: $*" >&2
  exit 1
}

[ -x "$app" ] || fail "no program at $app (build it, or set SOSUDNIK)"
need "packages xvfb, xdotool, imagemagick" Xvfb xdotool import compare
mkdir -p "$(dirname "$prefix")"

game_setup setups
env=(XDG_CONFIG_HOME="$work/config")
if [ "$theme" = dark ]; then
  env+=(QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark)
fi
start_game "${env[@]}" "$app"

# Scaled, the main window is wider than 642: the first window is it.
wait_main_window
xdotool mousemove --sync 1 1
stable root "$work/start.png"

# The task dialog: Alt+З.
open_by_key alt+Cyrillic_ze "the task dialog did not show"
stable root "$prefix-tasks.png"

# Accept the milk task: the game starts with its numbers in the fields.
xdotool windowfocus --sync "$other" 2>/dev/null || true
xdotool key Return
poll 30 no_other_window || true
stable root "$prefix-play.png"
passed=1
echo "Saved $prefix-tasks.png, $prefix-play.png"
