#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Builds the Debian package from debian/: copies the tree as it stands to a
# temporary folder, runs `dpkg-buildpackage -us -uc -b` there (a release build
# of the game alone, hardened, the binary in /usr/games) and checks the result
# with lintian.
# Usage: tools/package.sh [OUT_DIR]
#   OUT_DIR  where the .deb and the build log go (default build-deb/)
# Prints the lintian report and, last, the path of the .deb; fails on any
# lintian error, and on any warning except initial-upload-closes-no-bugs (it
# is about uploads to Debian itself).
# Needs the Build-Depends of debian/control, dpkg-dev, debhelper and lintian
# (./test.sh installs them).
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/build-deb}

die() {
  echo "package.sh: $*" >&2
  exit 1
}
for tool in dpkg-buildpackage dh lintian; do
  command -v "$tool" >/dev/null 2>&1 || die "$tool is missing (packages dpkg-dev, debhelper, lintian)"
done
mkdir -p "$out"
out=$(cd "$out" && pwd)

work=$(mktemp -d "${TMPDIR:-/tmp}/sosudnik-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
# dpkg-buildpackage leaves what it makes beside the source folder.
"$top/tools/copy_tree.sh" "$work/sosudnik"
log="$out/dpkg-buildpackage.log"
if ! (cd "$work/sosudnik" && dpkg-buildpackage -us -uc -b -J"$(nproc)") >"$log" 2>&1; then
  tail -n 15 "$log" | cut -c 1-400 >&2
  die "dpkg-buildpackage failed (the whole log: $log)"
fi

changes=$(find "$work" -maxdepth 1 -name 'sosudnik_*.changes')
deb=$(find "$work" -maxdepth 1 -name 'sosudnik_*.deb')
[ -f "$changes" ] || die "dpkg-buildpackage made no .changes (log: $log)"
[ -f "$deb" ] || die "dpkg-buildpackage made no package (log: $log)"

# The .changes: the package, its debug symbols and the build information.
status=0
report=$(lintian --display-info --pedantic "$changes" 2>&1) || status=$?
[ "$status" -le 1 ] || die "lintian failed: $report"
[ -z "$report" ] || echo "$report"
if grep -E '^(E|W):' <<<"$report" | grep -vq ' initial-upload-closes-no-bugs'; then
  die "lintian found errors or warnings in $deb"
fi
cp "$deb" "$out/"
echo "$out/$(basename "$deb")"
