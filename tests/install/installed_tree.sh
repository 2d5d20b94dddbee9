#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Installs the build into a scratch folder and checks what a desktop finds
# there: exactly the expected files, each icon as large as its folder says,
# the scalable icon drawing the same picture as the bitmaps, and launcher,
# metainfo and icon tied together by the application id, and the libraries the
# game opens on first use where the installed game finds them.
# Usage: installed_tree.sh BUILD_DIR APP_ID BINDIR LIBDIR
set -euo pipefail
build=${1:?usage: installed_tree.sh BUILD_DIR APP_ID BINDIR LIBDIR}
id=${2:?app id}
bindir=${3:?bindir}
libdir=${4:?libdir}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for tool in appstreamcli rsvg-convert identify compare; do
  command -v "$tool" >/dev/null 2>&1 ||
    fail "$tool is missing (packages appstream, librsvg2-bin, imagemagick; ./test.sh installs them)"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/sosudnik-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
DESTDIR="$work/root" cmake --install "$build" --prefix /usr >"$work/install.log" ||
  fail "cmake --install failed: $(cat "$work/install.log")"
root="$work/root/usr"

sizes=(16 22 24 32 48 64 128 256)
{
  echo "$bindir/sosudnik"
  echo "$libdir/sosudnik/libsosudnik_xml.so"
  echo "$libdir/sosudnik/libsosudnik_xlsx.so"
  echo "$libdir/sosudnik/libsosudnik_svg.so"
  echo "$libdir/sosudnik/libsosudnik_pictures.so"
  echo "share/applications/$id.desktop"
  echo "share/metainfo/$id.metainfo.xml"
  for s in "${sizes[@]}"; do echo "share/icons/hicolor/${s}x$s/apps/$id.png"; done
  echo "share/icons/hicolor/scalable/apps/$id.svg"
  echo "share/man/man6/sosudnik.6.gz"
  echo "share/man/ru/man6/sosudnik.6.gz"
} | sort >"$work/expected"
(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort) >"$work/installed"
diff -u "$work/expected" "$work/installed" >&2 || fail "the installed files differ from the list above"

for s in "${sizes[@]}"; do
  got=$(identify -format '%wx%h' "$root/share/icons/hicolor/${s}x$s/apps/$id.png")
  [ "$got" = "${s}x$s" ] || fail "the ${s}x$s icon is $got"
done

# The SVG is written by hand beside the bitmaps' drawing code: compare the two.
svg="$root/share/icons/hicolor/scalable/apps/$id.svg"
rsvg-convert -w 256 -h 256 -o "$work/svg.png" "$svg" || fail "$svg does not render"
rmse=$(compare -metric RMSE "$root/share/icons/hicolor/256x256/apps/$id.png" "$work/svg.png" null: 2>&1 || true)
rmse=${rmse#*(}
rmse=${rmse%)*}
awk -v e="$rmse" 'BEGIN { exit !(e < 0.02) }' ||
  fail "the scalable icon differs from the 256 px bitmap (normalised RMSE $rmse, allowed 0.02)"

# The installed game finds its SVG module: a map as SVG, without a display.
env -u DISPLAY -u QT_QPA_PLATFORM -u SOSUDNIK_LAZY_DIR "$root/$bindir/sosudnik" --map 8,5,3/8,0,0/4 -o "$work/map.svg" ||
  fail "the installed game wrote no SVG map"
rsvg-convert -o "$work/map.png" "$work/map.svg" || fail "the installed game's SVG map does not render"

# The metainfo names the launcher, and the launcher the icon.
out=$(bash "$(dirname "$0")/appstream.sh" validate-tree "$work/root" 2>&1) || fail "appstreamcli validate-tree: $out"
grep -qx "Icon=$id" "$root/share/applications/$id.desktop" || fail "the launcher does not use the icon $id"

# The installed game opens its libxml2 part from beside itself: a check reads
# the file through it (a missing part would be an error, not a verdict).
printf '<?xml version="1.0" encoding="UTF-8"?>\n<ListStore><Columns/><Data><Record Column0="0" Column1="8" Column2="0" Column3="0"/><Record Column0="1" Column1="3" Column2="5" Column3="0"/></Data></ListStore>\n' >"$work/pupil.xml"
status=0
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SOSUDNIK_LAZY_DIR QT_QPA_PLATFORM= "$root/$bindir/sosudnik" --check 8,5,3/8,0,0/4 "$work/pupil.xml" 2>&1) || status=$?
[ "$status" -eq 1 ] && [ "$(cut -f2,3 <<<"$out")" = "не решено"$'\t'"1" ] ||
  fail "the installed game does not check a file (status $status): $out"
