#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Builds the Debian package with tools/package.sh (which fails on lintian
# errors and warnings) and checks what a user would get from it: the files,
# the dependencies, the section, a stripped game in /usr/games and a
# changelog that matches the version.
# Usage: debian_package.sh BUILD_DIR APP_ID   (BUILD_DIR is the package's own build folder)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:?usage: debian_package.sh BUILD_DIR APP_ID}
id=${2:?app id}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

work=$(mktemp -d "${TMPDIR:-/tmp}/sosudnik-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$top/tools/package.sh" "$build" "$work" >"$work/package.log" 2>&1 ||
  fail "tools/package.sh failed: $(cat "$work/package.log")"
cat "$work/package.log"
deb=$(tail -n 1 "$work/package.log")
[ -f "$deb" ] || fail "no package at '$deb'"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = sosudnik ] || fail "package name $(field Package)"
[ "$(field Section)" = games ] || fail "section $(field Section)"

# dpkg-shlibdeps finds the libraries; the platform plugin and the font are ours to name.
depends=$(field Depends)
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for dep in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libxml2 qt6-qpa-plugins fonts-liberation; do
  grep -qxF "$dep" <<<"$names" || fail "Depends lacks $dep: $depends"
done

sizes=(16 22 24 32 48 64 128 256)
{
  echo "usr/games/sosudnik"
  echo "usr/share/applications/$id.desktop"
  echo "usr/share/metainfo/$id.metainfo.xml"
  for s in "${sizes[@]}"; do echo "usr/share/icons/hicolor/${s}x$s/apps/$id.png"; done
  echo "usr/share/icons/hicolor/scalable/apps/$id.svg"
  echo "usr/share/man/man6/sosudnik.6.gz"
  echo "usr/share/doc/sosudnik/copyright"
  echo "usr/share/doc/sosudnik/changelog.Debian.gz"
} | sort >"$work/expected"
dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort >"$work/packaged"
diff -u "$work/expected" "$work/packaged" >&2 || fail "the packaged files differ from the list above"

dpkg-deb --extract "$deb" "$work/root"
file "$work/root/usr/games/sosudnik" | grep -q ', stripped' || fail "the game is not stripped"
changelog=$(gzip -dc "$work/root/usr/share/doc/sosudnik/changelog.Debian.gz" | dpkg-parsechangelog -l - -S Version)
[ "$changelog" = "$(field Version)" ] || fail "changelog.Debian is at $changelog, the package at $(field Version)"
