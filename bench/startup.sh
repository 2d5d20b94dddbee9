#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Start-up time and idle memory of the game against a bare Qt window and a
# bare window with one line of text, under a private Xvfb. Time runs from
# exec until the first frame that covers the whole window is sent to the X
# server: a probe preloaded into each program (frame_probe) notes it, so
# nothing polls the screen while the program starts. The three programs take
# turns, run after run; idle RSS is read one second after the first frame.
# The processor time each program used until that frame is told too: on a
# busy machine it wanders less than the wall clock.
# Usage: bench/startup.sh [--settings FILE | --config DIR] [RUNS] [BUILD_DIR]
#   (the game: BUILD_DIR/app/sosudnik, or $SOSUDNIK; 15 runs unless told)
#   --settings FILE  start every program with FILE as the game's settings
#                    ($XDG_CONFIG_HOME/sosudnik/sosudnik.conf)
#   --config DIR     start them with a copy of DIR as $XDG_CONFIG_HOME
#   Without either the configuration folder is empty, as on a first start.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/bench/startup_common.sh"
while [ $# -gt 0 ]; do
  case $1 in
    -*) startup_option "$1" "${2:-}" || { echo "unknown option $1" >&2; exit 2; }; shift 2 ;;
    *) break ;;
  esac
done
runs=${1:-15}
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
startup_folders "$work"

# measure SIZE EXE [ARG]: prints "ms cpu_ms rss_kb". The probe writes into a
# FIFO that this shell holds open, so waiting for it costs no polling.
measure() {
  local size=$1 exe=$2 arg=${3:-} fifo=$work/frame ms="" cpu="" rss
  rm -f "$fifo"
  mkfifo "$fifo"
  exec {fd}<>"$fifo"
  (startup_run "$work" "$launch" "$probe" "$fifo" "$size" "$exe" $arg) >/dev/null 2>&1 &
  app=$!
  read -r -t 30 -u "$fd" ms cpu || true
  exec {fd}<&-
  [ -n "$ms" ] && [ -n "$cpu" ] || { echo "$exe $arg: no whole frame within 30 s" >&2; exit 1; }
  sleep 1 # idle
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$app/status")
  stop_pid "$app"
  app=""
  echo "$ms $cpu $rss"
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

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
game_t=() game_c=() game_m=() bare_t=() bare_c=() bare_m=() text_t=() text_c=() text_m=()
for i in $(seq "$runs"); do
  # Rotate who goes first, so no program always follows the same one.
  for k in 0 1 2; do
    t="" c="" m=""
    case $(((i + k) % 3)) in
      0) read -r t c m < <(run_game) || true; game_t+=("$t"); game_c+=("$c"); game_m+=("$m") ;;
      1) read -r t c m < <(run_bare) || true; bare_t+=("$t"); bare_c+=("$c"); bare_m+=("$m") ;;
      2) read -r t c m < <(run_text) || true; text_t+=("$t"); text_c+=("$c"); text_m+=("$m") ;;
    esac
    # measure fails in its own subshell: stop here rather than count a gap.
    [ -n "$t" ] && [ -n "$m" ] || exit 1
  done
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

spread() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {printf "%s-%s", a[1], a[NR]}'; }
med() { printf '%s\n' "$@" | median; }
gt=$(med "${game_t[@]}") gc=$(med "${game_c[@]}") gm=$(med "${game_m[@]}")
bt=$(med "${bare_t[@]}") bc=$(med "${bare_c[@]}") bm=$(med "${bare_m[@]}")
tt=$(med "${text_t[@]}") tc=$(med "${text_c[@]}") tm=$(med "${text_m[@]}")
echo "runs: $runs, interleaved; time from exec to the first whole frame sent to the X server"
startup_config_said
echo "machine: $(nproc) cores, load average (1, 5, 15 min) $load_before before, $load_after after"
echo "game: first frame median ${gt} ms (range $(spread "${game_t[@]}")), CPU ${gc} ms, idle RSS median ${gm} kB"
echo "bare: first frame median ${bt} ms (range $(spread "${bare_t[@]}")), CPU ${bc} ms, idle RSS median ${bm} kB"
echo "bare with one line of text: first frame median ${tt} ms (range $(spread "${text_t[@]}")), CPU ${tc} ms, idle RSS median ${tm} kB"
awk -v gt="$gt" -v bt="$bt" -v gm="$gm" -v bm="$bm" -v tt="$tt" -v tm="$tm" -v gc="$gc" -v tc="$tc" 'BEGIN {
  printf "ratio to bare: time %.2fx, memory %.2fx\n", gt / bt, gm / bm
  printf "ratio to bare with text: time %.2fx, memory %.2fx (goal <= 1.25x, <= 1.12x); CPU time %.2fx\n", gt / tt, gm / tm, gc / tc }'
