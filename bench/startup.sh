#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Start-up time and idle memory of the game against a bare Qt window, under a
# private Xvfb. Time runs from exec until the window is mapped and a pixel
# that only painting puts there is on the screen.
# Usage: bench/startup.sh [RUNS] [BUILD_DIR]
set -euo pipefail
runs=${1:-15}
top=$(cd "$(dirname "$0")/.." && pwd)
build=${2:-$top/build}
game=$build/app/sosudnik
bare=$build/bench/bare_window
for exe in "$game" "$bare"; do
  [ -x "$exe" ] || { echo "missing $exe: build first (cmake --build $build)" >&2; exit 1; }
done

. "$top/tools/xvfb.sh"
app=""
cleanup() { [ -n "$app" ] && kill "$app" 2>/dev/null; stop_xvfb; }
trap cleanup EXIT
start_xvfb /dev/null || { echo "no X display could be started" >&2; exit 1; }

now_ms() { date +%s%3N; }

# measure EXE TITLE X Y WANT [ARG]: prints "ms rss_kb"
measure() {
  local exe=$1 title=$2 px=$3 py=$4 want=$5 arg=${6:-} start id pixel
  start=$(now_ms)
  (cd /tmp && exec "$exe" $arg) >/dev/null 2>&1 &
  app=$!
  id=""
  local deadline=$((start + 30000))
  while [ "$(now_ms)" -lt "$deadline" ]; do
    id=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && break
  done
  [ -n "$id" ] || { echo "window '$title' never mapped" >&2; exit 1; }
  pixel=""
  while [ "$(now_ms)" -lt "$deadline" ]; do
    pixel=$(import -window "$id" -crop "1x1+$px+$py" -depth 8 txt:- 2>/dev/null | tail -n 1 | grep -o '#[0-9A-F]\{6\}' || true)
    [ "$pixel" = "$want" ] && break
  done
  local ms=$(( $(now_ms) - start ))
  [ "$pixel" = "$want" ] || { echo "'$title' never painted ($pixel)" >&2; exit 1; }
  sleep 1 # idle
  local rss
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$app/status")
  kill "$app"; wait "$app" 2>/dev/null || true; app=""
  echo "$ms $rss"
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

# The game: the inside of picture 1 (form 32,48, 105 x 145) turns white when
# the form is painted; 145 down is inside it for any menu bar up to 70 px.
game_t=() game_m=() bare_t=() bare_m=() text_t=() text_m=()
for i in $(seq "$runs"); do
  read -r t m < <(measure "$game" "Сосудник" 60 145 "#FFFFFF")
  game_t+=("$t"); game_m+=("$m")
  read -r t m < <(measure "$bare" "Bare" 320 240 "#EFEFEF")
  bare_t+=("$t"); bare_m+=("$m")
  read -r t m < <(measure "$bare" "Bare" 320 240 "#EFEFEF" --text)
  text_t+=("$t"); text_m+=("$m")
done

gt=$(printf '%s\n' "${game_t[@]}" | median); gm=$(printf '%s\n' "${game_m[@]}" | median)
bt=$(printf '%s\n' "${bare_t[@]}" | median); bm=$(printf '%s\n' "${bare_m[@]}" | median)
tt=$(printf '%s\n' "${text_t[@]}" | median); tm=$(printf '%s\n' "${text_m[@]}" | median)
echo "runs: $runs"
echo "game: start-up median ${gt} ms, idle RSS median ${gm} kB"
echo "bare: start-up median ${bt} ms, idle RSS median ${bm} kB"
echo "bare with one line of text: start-up median ${tt} ms, idle RSS median ${tm} kB"
awk -v gt="$gt" -v bt="$bt" -v gm="$gm" -v bm="$bm" -v tt="$tt" -v tm="$tm" 'BEGIN {
  printf "ratio to bare: time %.2fx, memory %.2fx (target <= 1.25x)\n", gt / bt, gm / bm
  printf "ratio to bare with text: time %.2fx, memory %.2fx\n", gt / tt, gm / tm }'
