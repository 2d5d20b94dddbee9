#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Builds the Debian package: a release build of the game alone with Debian's
# hardening flags and the binary in /usr/games, then `cpack -G DEB` (the
# dependencies come from dpkg-shlibdeps) and lintian.
# Usage: tools/package.sh [BUILD_DIR [OUT_DIR]]
#   BUILD_DIR  the package's own build folder (default build-deb/), built incrementally
#   OUT_DIR    where the .deb goes (default: BUILD_DIR)
# Prints the lintian report; fails on any error, and on any warning except
# initial-upload-closes-no-bugs (it is about uploads to Debian itself).
# Needs dpkg-dev and lintian (./test.sh installs them).
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build-deb}
out=${2:-$build}

die() {
  echo "package.sh: $*" >&2
  exit 1
}
for tool in cmake ninja dpkg-buildflags dpkg-shlibdeps lintian; do
  command -v "$tool" >/dev/null 2>&1 || die "$tool is missing (packages cmake, ninja-build, dpkg-dev, lintian)"
done
mkdir -p "$build" "$out"
build=$(cd "$build" && pwd)
out=$(cd "$out" && pwd)

if [ ! -f "$build/CMakeCache.txt" ]; then
  # CMake reads CXXFLAGS and LDFLAGS from the environment on the first run only.
  eval "$(cd "$top" && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
  export CXXFLAGS="$CXXFLAGS $CPPFLAGS" LDFLAGS
  # Stripped as dh_strip does it: without the compiler's notes either.
  printf '#!/bin/sh\nexec strip --remove-section=.comment --remove-section=.note "$@"\n' >"$build/strip"
  chmod +x "$build/strip"
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None \
    -DCMAKE_INSTALL_BINDIR=games -DCMAKE_STRIP="$build/strip" \
    -DBUILD_TESTING=OFF -DSOSUDNIK_BENCHMARKS=OFF >/dev/null
fi
cmake --build "$build"
made=$(cd "$build" && cpack -G DEB -B "$out")
deb=$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' <<<"$made")
[ -f "$deb" ] || die "cpack made no package: $made"

status=0
report=$(lintian --display-info --pedantic "$deb" 2>&1) || status=$?
[ "$status" -le 1 ] || die "lintian failed: $report"
[ -z "$report" ] || echo "$report"
if grep -E '^(E|W):' <<<"$report" | grep -vq ' initial-upload-closes-no-bugs '; then
  die "lintian found errors or warnings in $deb"
fi
echo "$deb"
