#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Runs tst_desktop_theme on a private X server through Qt's GTK platform theme:
# once under a dark GTK theme, once while an XSETTINGS daemon switches the
# desktop from a light theme to a dark one.
# Usage: desktop_theme.sh PATH_TO_TST_DESKTOP_THEME
set -euo pipefail
. "$(dirname "$0")/../../tools/xvfb.sh"
test_binary=$(realpath -- "${1:?usage: desktop_theme.sh TEST_BINARY}")

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for tool in Xvfb xsettingsd; do
  command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing (packages xvfb, xsettingsd; ./test.sh installs them)"
done
plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
ls "$plugins"/platformthemes/*gtk3* >/dev/null 2>&1 || fail "Qt's GTK platform theme is missing (package qt6-gtk-platformtheme)"

work=$(mktemp -d "${TMPDIR:-/tmp}/sosudnik-theme.XXXXXX")
daemon=
cleanup() {
  [ -n "$daemon" ] && kill "$daemon" 2>/dev/null
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
start_xvfb "$work/xvfb.log" || fail "no X server started: $(cat "$work/xvfb.log")"
mkdir -m 700 "$work/xdg"
export XDG_RUNTIME_DIR="$work/xdg" HOME="$work" QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME=gtk3

GTK_THEME=Adwaita:dark "$test_binary" ownFaceUnderTheDesktopTheme

echo 'Net/ThemeName "Adwaita"' >"$work/xsettings"
xsettingsd -c "$work/xsettings" >"$work/xsettingsd.log" 2>&1 &
daemon=$!
for _ in $(seq 100); do
  grep -q 'Created window' "$work/xsettingsd.log" 2>/dev/null && break
  kill -0 "$daemon" 2>/dev/null || fail "xsettingsd ended: $(cat "$work/xsettingsd.log")"
  sleep 0.1
done
SOSUDNIK_XSETTINGS="$work/xsettings" SOSUDNIK_XSETTINGSD_PID="$daemon" "$test_binary" ownFaceWhenTheThemeChanges
