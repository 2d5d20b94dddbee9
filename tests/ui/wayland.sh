#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Runs tst_wayland under a headless weston of its own, with Qt's Wayland
# platform.
# Usage: wayland.sh PATH_TO_TST_WAYLAND
set -euo pipefail
test_binary=$(realpath -- "${1:?usage: wayland.sh TEST_BINARY}")

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
command -v weston >/dev/null 2>&1 || fail "weston is missing (package weston; ./test.sh installs it)"
plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
ls "$plugins"/platforms/*wayland* >/dev/null 2>&1 || fail "Qt's Wayland platform is missing (package qt6-wayland)"

work=$(mktemp -d "${TMPDIR:-/tmp}/sosudnik-wayland.XXXXXX")
chmod 700 "$work"
compositor=
cleanup() {
  [ -n "$compositor" ] && kill "$compositor" 2>/dev/null && wait "$compositor" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR="$work" HOME="$work"
socket=sosudnik-$$
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 >"$work/weston.log" 2>&1 &
compositor=$!
for _ in $(seq 300); do
  [ -S "$work/$socket" ] && break
  kill -0 "$compositor" 2>/dev/null || fail "weston ended: $(cat "$work/weston.log")"
  sleep 0.1
done
[ -S "$work/$socket" ] || fail "weston's socket never appeared: $(cat "$work/weston.log")"

env -u DISPLAY WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland "$test_binary"
