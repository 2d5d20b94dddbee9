# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Sourced by the scripts that run the game under a private X server.
#   start_xvfb LOG_FILE   starts Xvfb on the first free display from :90 up
#                         (screen $XVFB_SCREEN, default 1280x1024x24),
#                         sets xvfb_pid and exports DISPLAY; returns 1 if none starts
#   stop_xvfb             kills it again (safe to call twice)
#   stop_pid PID          kills a program started under it and waits for it (PID may be empty)
# -noreset: without it the server resets when its first client leaves, and a
# program connecting at that moment is refused.

xvfb_pid=

start_xvfb() {
  local log=$1 n
  for n in $(seq 90 139); do
    if [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; then
      continue
    fi
    Xvfb ":$n" -screen 0 "${XVFB_SCREEN:-1280x1024x24}" -nolisten tcp -noreset >"$log" 2>&1 &
    xvfb_pid=$!
    # Another server may take the same number at the same moment: the lock
    # file says who won.
    for _ in $(seq 300); do
      kill -0 "$xvfb_pid" 2>/dev/null || break
      if [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$n-lock")" = "$xvfb_pid" ] &&
        DISPLAY=":$n" xdotool getdisplaygeometry >/dev/null 2>&1; then
        export DISPLAY=":$n"
        return 0
      fi
      sleep 0.1
    done
    stop_xvfb
  done
  return 1
}

stop_xvfb() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
  fi
}

stop_pid() {
  if [ -n "${1:-}" ]; then
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
  fi
}
