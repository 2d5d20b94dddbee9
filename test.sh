#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Installs what is missing, builds and runs every test.
#   ./test.sh             build/ and all tests
#   ./test.sh --sanitize  the same under AddressSanitizer and UBSan, in build-sanitize/
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)

build="$top/build"
options=()
if [ "${1:-}" = "--sanitize" ]; then
  build="$top/build-sanitize"
  options=(-DSOSUDNIK_SANITIZE=ON -DSOSUDNIK_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

"$top/tools/setup.sh" "$build" "${options[@]}"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
