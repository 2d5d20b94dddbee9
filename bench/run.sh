#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Builds the benchmarks and runs them, printing medians of five repetitions.
#   bench/run.sh [BUILD_DIR] [GOOGLE_BENCHMARK_OPTIONS...]
# BUILD_DIR defaults to build/; it is configured first if it is not yet.
# Full output goes to BUILD_DIR/bench/results/. Timings are only worth
# comparing on an otherwise idle machine.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

build="$top/build"
if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then
  build=$1
  shift
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$top" -B "$build" -G Ninja
fi
cmake --build "$build" --target benchmarks

list="$build/bench/benchmarks.txt"
if [ ! -f "$list" ]; then
  echo "no $list: is SOSUDNIK_BENCHMARKS off in $build?" >&2
  exit 1
fi
results="$build/bench/results"
mkdir -p "$results"

status=0
while read -r kind exe; do
  [ -n "$kind" ] || continue
  name=$(basename "$exe")
  echo
  case "$kind" in
    gbench)
      echo "== $name: medians of 5 repetitions"
      if "$exe" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
        --benchmark_out="$results/$name.json" --benchmark_out_format=json "$@" \
        >"$results/$name.txt" 2>&1; then
        grep -E '^Benchmark|_median' "$results/$name.txt" || cat "$results/$name.txt"
        if grep -q 'ERROR OCCURRED' "$results/$name.txt"; then
          grep 'ERROR OCCURRED' "$results/$name.txt"
          status=1
        fi
      else
        cat "$results/$name.txt"
        status=1
      fi
      ;;
    program)
      echo "== $name"
      "$exe" | tee "$results/$name.txt" || status=1
      ;;
    *)
      echo "unknown kind of benchmark '$kind' for $exe" >&2
      status=1
      ;;
  esac
done <"$list"
exit $status
