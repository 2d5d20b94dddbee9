#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Builds the fuzz targets of tests/fuzz with clang's libFuzzer, ASan and UBSan
# and runs them all at once for the given number of seconds each, each on a
# scratch copy of its committed corpus.
#   bench/fuzz.sh [--merge] SECONDS [TARGET...]
# --merge adds the inputs that reach new code back into tests/fuzz/corpus/.
# FUZZ_DIR (default build-fuzz/) holds the binaries, scratch corpora, logs and
# findings. Exits non-zero when any target found something.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

merge=0
if [ "${1:-}" = "--merge" ]; then
  merge=1
  shift
fi
seconds=${1:?usage: bench/fuzz.sh [--merge] SECONDS [TARGET...]}
shift
out=${FUZZ_DIR:-$top/build-fuzz}
fuzz_src=$top/tests/fuzz

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$fuzz_src"/fuzz_*.cpp; do
    targets+=("$(basename "$f" .cpp)")
  done
fi

cxx=${CXX_FUZZ:-clang++}
probe() {
  echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char *, unsigned long) { return 0; }' |
    "$cxx" -x c++ -fsanitize=fuzzer,address,undefined - -o "$out/probe" >/dev/null 2>&1
}
mkdir -p "$out"
if ! command -v "$cxx" >/dev/null 2>&1 || ! probe; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "clang++ with the libFuzzer runtime is missing. Run as root:" >&2
    echo "  apt-get install -y clang libclang-rt-14-dev" >&2
    exit 1
  fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y clang libclang-rt-14-dev
  probe || { echo "clang++ still cannot link -fsanitize=fuzzer" >&2; exit 1; }
fi

flags=(-std=c++20 -O1 -g -fno-omit-frame-pointer -Wall -Wextra -Wpedantic -fno-sanitize-recover=all)

# The model once, instrumented for coverage, shared by every target.
mkdir -p "$out/obj"
model_objs=()
compiles=()
for src in "$top"/model/*.cpp; do
  obj="$out/obj/$(basename "$src" .cpp).o"
  "$cxx" "${flags[@]}" -fsanitize=fuzzer-no-link,address,undefined -I"$top/model" -c "$src" -o "$obj" &
  compiles+=($!)
  model_objs+=("$obj")
done
for pid in "${compiles[@]}"; do
  wait "$pid"
done

# Extra sources and flags a target needs beyond the model.
target_extra() {
  case "$1" in
    fuzz_result | fuzz_reader)
      # The writer and the reader (libxml2, and Qt Core for the writer's
      # atomic file), and libxml2 to read back what the writer wrote.
      echo "-I$top/result -fPIC $(ls "$top"/result/*.cpp | tr '\n' ' ')" \
        "$(pkg-config --cflags --libs Qt6Core libxml-2.0)"
      ;;
  esac
}

for t in "${targets[@]}"; do
  echo "== building $t"
  # shellcheck disable=SC2046
  "$cxx" "${flags[@]}" -fsanitize=fuzzer,address,undefined -I"$top/model" -I"$top/tests/support" \
    "$fuzz_src/$t.cpp" "${model_objs[@]}" $(target_extra "$t") -o "$out/$t"
done

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

pids=()
for t in "${targets[@]}"; do
  scratch="$out/corpus/$t"
  findings="$out/findings/$t"
  rm -rf "$scratch" "$findings"
  mkdir -p "$scratch" "$findings"
  cp "$fuzz_src/corpus/$t"/* "$scratch"/ 2>/dev/null || true
  extra=()
  [ -f "$fuzz_src/$t.dict" ] && extra+=("-dict=$fuzz_src/$t.dict")
  echo "== fuzzing $t for $seconds s (log: $out/$t.log)"
  "$out/$t" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$findings/" "${extra[@]}" "$scratch" >"$out/$t.log" 2>&1 &
  pids+=($!)
done

status=0
for i in "${!targets[@]}"; do
  wait "${pids[$i]}" || true
done

echo
printf '%-14s %14s %8s %10s %9s\n' target executions seconds "exec/s" findings
for t in "${targets[@]}"; do
  log="$out/$t.log"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  secs=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
  found=$(find "$out/findings/$t" -type f | wc -l)
  rate="-"
  [ -n "$runs" ] && [ -n "$secs" ] && [ "$secs" -gt 0 ] && rate=$((runs / secs))
  printf '%-14s %14s %8s %10s %9s\n' "$t" "${runs:-?}" "${secs:-?}" "$rate" "$found"
  if [ "$found" -gt 0 ]; then
    status=1
    for f in "$out/findings/$t"/*; do
      echo "-- $f"
      xxd "$f" | head -8
    done
    grep -m5 -E 'ERROR|broken rule|gave|result file|runtime error|deadly signal' "$log" || true
    echo "   keep each as a regression case: cp FILE tests/fuzz/corpus/$t/"
  elif [ -z "$runs" ]; then
    status=1
    echo "-- $t ended without its final stats; see $log" >&2
  fi
done

# Only inputs that reach something new go back, and the committed corpus
# stays under 200 files a target: if counting how often each edge runs would
# bring in too many, new edges alone decide.
if [ "$merge" -eq 1 ]; then
  for t in "${targets[@]}"; do
    committed="$fuzz_src/corpus/$t"
    trial="$out/merge/$t"
    count=0
    for features in -use_counters=1 -use_counters=0; do
      rm -rf "$trial"
      mkdir -p "$trial"
      cp "$committed"/* "$trial"/ 2>/dev/null || true
      "$out/$t" -merge=1 "$features" "$trial" "$out/corpus/$t" >"$out/$t.merge.log" 2>&1
      count=$(find "$trial" -type f | wc -l)
      [ "$count" -ge 200 ] || break
    done
    if [ "$count" -lt 200 ]; then
      cp -n "$trial"/* "$committed"/
      echo "merged into tests/fuzz/corpus/$t ($features): now $count files"
    else
      echo "not merged into tests/fuzz/corpus/$t: it would hold $count files" >&2
    fi
  done
fi
exit $status
