#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Start-up time and idle memory of the game against a bare Qt window and a
# bare window with one line of text, under a private Xvfb. Time runs from
# exec until the first frame that covers the whole window is sent to the X
# server: a probe preloaded into each program (frame_probe) notes it, so
# nothing polls the screen while the program starts. The three programs take
# turns, run after run; idle RSS is read one second after the first frame.
# Usage: bench/startup.sh [RUNS] [BUILD_DIR]   (the game: BUILD_DIR/app/sosudnik, or $SOSUDNIK)
set -euo pipefail
runs=${1:-15}
top=$(cd "$(dirname "$0")/.." && pwd)
build=${2:-$top/build}
game=${SOSUDNIK:-$build/app/sosudnik}
bare=$build/bench/bare_window
probe=$build/bench/frame_probe.so
launch=$build/bench/probe_launch
for f in "$game" "$bare" "$launch" "$probe"; do
  [ -e "$f" ] || { echo "missing $f: build first (cmake --build $build)" >&2; exit 1; }
done

. "$top/tools/xvfb.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/sosudnik-startup.XXXXXX")
app=""
cleanup() {
  stop_pid "$app"
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
start_xvfb "$work/xvfb.log" || { echo "no X display could be started" >&2; exit 1; }
mkdir -p "$work/home" "$work/run"
chmod 700 "$work/run"
# The game starts as a player's does after a first game: with its settings
# file (read at start, never written then).
mkdir -p "$work/home/.config/sosudnik"
printf '[General]\nscale=1\nanimation=true\n\n[book]\nlast="8,5,3/8,0,0/4"\n\n[folders]\ncheck="%s"\n' \
  "$work/home" >"$work/home/.config/sosudnik/sosudnik.conf"

# measure SIZE EXE [ARG]: prints "ms rss_kb". The probe writes into a FIFO
# that this shell holds open, so waiting for it costs no polling.
measure() {
  local size=$1 exe=$2 arg=${3:-} fifo=$work/frame ms="" rss
  rm -f "$fifo"
  mkfifo "$fifo"
  exec {fd}<>"$fifo"
  (cd "$work/run" && exec env HOME="$work/home" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=xcb \
    "$launch" "$probe" "$fifo" "$size" "$exe" $arg) >/dev/null 2>&1 &
  app=$!
  read -r -t 30 -u "$fd" ms || true
  exec {fd}<&-
  [ -n "$ms" ] || { echo "$exe $arg: no whole frame within 30 s" >&2; exit 1; }
  sleep 1 # idle
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$app/status")
  stop_pid "$app"
  app=""
  echo "$ms $rss"
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

# The game's window is 642 wide and at least its form and status bar high
# (the menu bar adds to it); the bare window is 642 x 494.
run_game() { measure 642x473 "$game"; }
run_bare() { measure 642x494 "$bare"; }
run_text() { measure 642x494 "$bare" --text; }

# One unrecorded round fills the caches.
run_game >/dev/null
run_bare >/dev/null
run_text >/dev/null

game_t=() game_m=() bare_t=() bare_m=() text_t=() text_m=()
for i in $(seq "$runs"); do
  # Rotate who goes first, so no program always follows the same one.
  for k in 0 1 2; do
    t="" m=""
    case $(((i + k) % 3)) in
      0) read -r t m < <(run_game) || true; game_t+=("$t"); game_m+=("$m") ;;
      1) read -r t m < <(run_bare) || true; bare_t+=("$t"); bare_m+=("$m") ;;
      2) read -r t m < <(run_text) || true; text_t+=("$t"); text_m+=("$m") ;;
    esac
    # measure fails in its own subshell: stop here rather than count a gap.
    [ -n "$t" ] && [ -n "$m" ] || exit 1
  done
done

spread() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {printf "%s-%s", a[1], a[NR]}'; }
gt=$(printf '%s\n' "${game_t[@]}" | median); gm=$(printf '%s\n' "${game_m[@]}" | median)
bt=$(printf '%s\n' "${bare_t[@]}" | median); bm=$(printf '%s\n' "${bare_m[@]}" | median)
tt=$(printf '%s\n' "${text_t[@]}" | median); tm=$(printf '%s\n' "${text_m[@]}" | median)
echo "runs: $runs, interleaved; time from exec to the first whole frame sent to the X server"
echo "game: first frame median ${gt} ms (range $(spread "${game_t[@]}")), idle RSS median ${gm} kB"
echo "bare: first frame median ${bt} ms (range $(spread "${bare_t[@]}")), idle RSS median ${bm} kB"
echo "bare with one line of text: first frame median ${tt} ms (range $(spread "${text_t[@]}")), idle RSS median ${tm} kB"
awk -v gt="$gt" -v bt="$bt" -v gm="$gm" -v bm="$bm" -v tt="$tt" -v tm="$tm" 'BEGIN {
  printf "ratio to bare: time %.2fx, memory %.2fx\n", gt / bt, gm / bm
  printf "ratio to bare with text: time %.2fx, memory %.2fx (goal <= 1.25x, <= 1.12x)\n", gt / tt, gm / tm }'
