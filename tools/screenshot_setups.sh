#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Whole-screen pictures of the game on set-ups other than the developer's,
# under a private Xvfb: the task dialog as it opens, then the milk task in
# play (fields disabled, showing its numbers).
# Usage: tools/screenshot_setups.sh OUT_PREFIX [WIDTHxHEIGHT] [dark]
#   writes OUT_PREFIX-tasks.png and OUT_PREFIX-play.png. The environment
#   passes on, so QT_SCALE_FACTOR=1.25 shows a scaled laptop screen; "dark"
#   runs under the qt6ct platform theme with its "darker" colour scheme
#   (package qt6ct), as a dark desktop would.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/tools/xvfb.sh"
prefix=${1:?output prefix}
export XVFB_SCREEN="${2:-1280x1024}x24"
theme=${3:-}
app=${SOSUDNIK:-$top/build/app/sosudnik}

die() {
  echo "screenshot_setups.sh: $*" >&2
  exit 1
}

[ -x "$app" ] || die "no program at $app (build it, or set SOSUDNIK)"
for tool in Xvfb xdotool import compare; do
  command -v "$tool" >/dev/null 2>&1 || die "$tool is missing (packages xvfb, xdotool, imagemagick)"
done
mkdir -p "$(dirname "$prefix")"

work=$(mktemp -d "${TMPDIR:-/tmp}/sosudnik-setups.XXXXXX")
app_pid=
cleanup() {
  set +e
  stop_pid "$app_pid"
  stop_xvfb
  rm -rf "$work"
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_xvfb "$work/xvfb.log" || die "no X display could be started on :90..:139"

mkdir -p "$work/run" "$work/home" "$work/config/qt6ct"
chmod 700 "$work/run"
env=(HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb)
if [ "$theme" = dark ]; then
  scheme=/usr/share/qt6ct/colors/darker.conf
  [ -f "$scheme" ] || die "no $scheme (package qt6ct)"
  printf '[Appearance]\ncolor_scheme_path=%s\ncustom_palette=true\nstyle=Fusion\n' "$scheme" \
    >"$work/config/qt6ct/qt6ct.conf"
  env+=(QT_QPA_PLATFORMTHEME=qt6ct)
fi
(
  cd "$work/run"
  exec env "${env[@]}" "$app" </dev/null >"$work/app.log" 2>&1
) &
app_pid=$!

alive() {
  kill -0 "$app_pid" 2>/dev/null || die "the program exited: $(cat "$work/app.log")"
}

windows() {
  xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l
}

# until_windows N WHAT: polls until the program shows N windows, up to 30 s.
until_windows() {
  for _ in $(seq 300); do
    alive
    [ "$(windows)" -ge "$1" ] && return 0
    sleep 0.1
  done
  die "$2 did not show within 30 s"
}

# stable FILE: captures the screen until two captures in a row agree.
stable() {
  local prev="$work/prev.png"
  import -silent -window root "$prev" 2>/dev/null || true
  for _ in $(seq 100); do
    alive
    sleep 0.3
    if import -silent -window root "$1" 2>/dev/null &&
      [ "$(compare -metric AE "$prev" "$1" null: 2>&1 || true)" = 0 ]; then
      return 0
    fi
    cp -f "$1" "$prev" 2>/dev/null || true
  done
  die "the screen never stopped changing"
}

until_windows 1 "the main window"
main=$(xdotool search --onlyvisible --pid "$app_pid" | head -1)
xdotool mousemove --sync 1 1
stable "$work/start.png"

# The task dialog: Alt+З. xdotool lends the Cyrillic key a spare key code
# for the moment, which a busy program may read too late: try again.
for _ in 1 2 3 4 5; do
  xdotool windowfocus --sync "$main" 2>/dev/null || true
  xdotool key alt+Cyrillic_ze
  for _ in $(seq 50); do
    alive
    [ "$(windows)" -ge 2 ] && break 2
    sleep 0.1
  done
done
until_windows 2 "the task dialog"
stable "$prefix-tasks.png"

# Accept the milk task: the game starts with its numbers in the fields.
dialog=$(xdotool search --onlyvisible --pid "$app_pid" | grep -vx "$main" | head -1)
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool key Return
for _ in $(seq 300); do
  alive
  [ "$(windows)" -lt 2 ] && break
  sleep 0.1
done
stable "$prefix-play.png"
echo "Saved $prefix-tasks.png, $prefix-play.png"
