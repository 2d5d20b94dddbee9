#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Time from a fresh clone to a game on the screen: clones the committed tree,
# runs ./run.sh in it under a private Xvfb and stops the clock when the game's
# window is mapped. The packages must already be installed, or the first run
# also times apt-get.
# Usage: bench/first_game.sh [RUNS]   (default 3; prints each run and the median)
set -euo pipefail
runs=${1:-3}
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/tools/xvfb.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/sosudnik-first-game.XXXXXX")
game=
cleanup() {
  set +e
  stop_pid "$game"
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
start_xvfb "$work/xvfb.log" || { echo "no X display could be started" >&2; exit 1; }

now_ms() { date +%s%3N; }
seconds() { awk -v ms="$1" 'BEGIN { printf "%.1f", ms / 1000 }'; }
times=()
for run in $(seq "$runs"); do
  rm -rf "$work/clone"
  start=$(now_ms)
  git clone --quiet --no-hardlinks "$top" "$work/clone"
  # run.sh ends in exec, so its process becomes the game's.
  "$work/clone/run.sh" >"$work/run.log" 2>&1 &
  game=$!
  id=
  while [ -z "$id" ]; do
    [ $(($(now_ms) - start)) -lt 900000 ] || { echo "no window within 15 minutes" >&2; exit 1; }
    kill -0 "$game" 2>/dev/null || { echo "run.sh ended without a window:" >&2; cat "$work/run.log" >&2; exit 1; }
    id=$(xdotool search --onlyvisible --pid "$game" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] || sleep 0.05
  done
  ms=$(($(now_ms) - start))
  stop_pid "$game"
  game=
  times+=("$ms")
  echo "run $run: $(seconds "$ms") s"
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }')
echo "median of $runs: $(seconds "$median") s"
