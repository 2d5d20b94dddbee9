#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Starts the real program under Xvfb and checks that an X11 desktop can match
# its window to the launcher: the window's WM_CLASS instance is the launcher's
# StartupWMClass. (Wayland matches by the application id, which the program
# sets as its desktop file name.)
# Usage: window_class.sh PATH_TO_SOSUDNIK DESKTOP_FILE
set -euo pipefail
. "$(dirname "$0")/../../tools/xvfb.sh"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

app=$(realpath -- "${1:?usage: window_class.sh PATH_TO_SOSUDNIK DESKTOP_FILE}")
desktop=${2:?desktop file}
for tool in Xvfb xdotool xprop; do
  command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing (packages xvfb, xdotool, x11-utils; ./test.sh installs them)"
done
wanted=$(sed -n 's/^StartupWMClass=//p' "$desktop")
[ -n "$wanted" ] || fail "$desktop has no StartupWMClass"

work=$(mktemp -d "${TMPDIR:-/tmp}/sosudnik-wmclass.XXXXXX")
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

start_xvfb "$work/xvfb.log" || fail "no X display could be started on :90..:139"
mkdir -p "$work/run" "$work/home"
chmod 700 "$work/run"
(
  cd "$work/run"
  exec env HOME="$work/home" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=xcb "$app" </dev/null >"$work/app.log" 2>&1
) &
app_pid=$!

win=
for _ in $(seq 300); do
  kill -0 "$app_pid" 2>/dev/null || fail "the program exited: $(cat "$work/app.log")"
  win=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | head -n 1 || true)
  [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || fail "no window within 30 s"

# WM_CLASS(STRING) = "instance", "class"
instance=$(xprop -id "$win" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "\([^"]*\)".*/\1/p')
[ "$instance" = "$wanted" ] || fail "the window's WM_CLASS instance is '$instance', the launcher expects '$wanted'"
