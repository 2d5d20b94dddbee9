#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Builds the Debian package with tools/package.sh (dpkg-buildpackage, then
# lintian, which must find no errors or warnings) and checks what a user would
# get from it: the files, the dependencies, the section, a stripped game in
# /usr/games with the library it opens on first use, both man pages, the launcher with its two task actions, the
# metainfo, and Debian's copyright and changelog from debian/.
# Usage: debian_package.sh OUT_DIR APP_ID   (OUT_DIR keeps the .deb and the build log)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
here=$(cd "$(dirname "$0")" && pwd)
out=${1:?usage: debian_package.sh OUT_DIR APP_ID}
id=${2:?app id}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

work=$(mktemp -d "${TMPDIR:-/tmp}/sosudnik-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
rm -f "$out"/sosudnik_*.deb
"$top/tools/package.sh" "$out" >"$work/package.log" 2>&1 ||
  fail "tools/package.sh failed: $(cat "$work/package.log")"
cat "$work/package.log"
deb=$(tail -n 1 "$work/package.log")
[ -f "$deb" ] || fail "no package at '$deb'"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = sosudnik ] || fail "package name $(field Package)"
[ "$(field Section)" = games ] || fail "section $(field Section)"
[ "$(field Priority)" = optional ] || fail "priority $(field Priority)"

# dpkg-shlibdeps finds the libraries; the platform plugin and the font are ours to name.
names() { tr ',' '\n' | sed 's/^ *//; s/ .*//'; }
depends=$(field Depends)
for dep in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libxml2 qt6-qpa-plugins fonts-liberation; do
  # Newer suites rename libraries for the 64-bit time ABI (libqt6core6t64),
  # and libxml2 2.14 on by its soname (libxml2-16).
  names <<<"$depends" | grep -qxE -e "${dep//+/\\+}(t64)?" -e "${dep//+/\\+}-[0-9]+" || fail "Depends lacks $dep: $depends"
done
# The spreadsheet module's library, by whatever soname the suite has.
names <<<"$depends" | grep -qxE 'libxlsxwriter[0-9]+(t64)?' || fail "Depends lacks libxlsxwriter: $depends"
[ "$(field Recommends | names)" = qt6-translations-l10n ] ||
  fail "Recommends is '$(field Recommends)', not qt6-translations-l10n"

sizes=(16 22 24 32 48 64 128 256)
lazy="usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/sosudnik/libsosudnik_xml.so"
sheets="usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/sosudnik/libsosudnik_xlsx.so"
svg="usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/sosudnik/libsosudnik_svg.so"
pictures="usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/sosudnik/libsosudnik_pictures.so"
{
  echo "usr/games/sosudnik"
  echo "$lazy"
  echo "$sheets"
  echo "$svg"
  echo "$pictures"
  echo "usr/share/applications/$id.desktop"
  echo "usr/share/metainfo/$id.metainfo.xml"
  for s in "${sizes[@]}"; do echo "usr/share/icons/hicolor/${s}x$s/apps/$id.png"; done
  echo "usr/share/icons/hicolor/scalable/apps/$id.svg"
  echo "usr/share/man/man6/sosudnik.6.gz"
  echo "usr/share/man/ru/man6/sosudnik.6.gz"
  echo "usr/share/doc/sosudnik/copyright"
  echo "usr/share/doc/sosudnik/changelog.Debian.gz"
} | sort >"$work/expected"
dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort >"$work/packaged"
diff -u "$work/expected" "$work/packaged" >&2 || fail "the packaged files differ from the list above"

dpkg-deb --extract "$deb" "$work/root"
root="$work/root/usr"
game="$root/games/sosudnik"
file "$game" | grep -q ', stripped' || fail "the game is not stripped"
file "$work/root/$lazy" | grep -q ', stripped' || fail "$lazy is not stripped"
file "$work/root/$sheets" | grep -q ', stripped' || fail "$sheets is not stripped"
changelog=$(gzip -dc "$root/share/doc/sosudnik/changelog.Debian.gz" | dpkg-parsechangelog -l - -S Version)
[ "$changelog" = "$(field Version)" ] || fail "changelog.Debian is at $changelog, the package at $(field Version)"
cmp -s "$top/debian/copyright" "$root/share/doc/sosudnik/copyright" || fail "the copyright is not debian/copyright"

# The launcher: valid, and one action for each built-in task, which the
# packaged game can solve.
desktop="$root/share/applications/$id.desktop"
said=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $said"
[ -z "$said" ] || fail "desktop-file-validate: $said"
grep -qx 'Actions=milk;kvass;' "$desktop" || fail "the launcher's actions are not milk and kvass"
action() { # action ID KEY: KEY's value in the group [Desktop Action ID]
  awk -v group="[Desktop Action $1]" -v key="$2" '
    /^\[/ { inside = ($0 == group) }
    inside && index($0, key "=") == 1 { print substr($0, length(key) + 2) }' "$desktop"
}
while IFS='|' read -r name ru code; do
  [ "$(action "$name" Name\[ru\])" = "$ru" ] || fail "action $name is called '$(action "$name" Name\[ru\])'"
  [ -n "$(action "$name" Name)" ] || fail "action $name has no English name"
  [ "$(action "$name" Exec)" = "sosudnik $code" ] || fail "action $name runs '$(action "$name" Exec)'"
  env -u DISPLAY -u QT_QPA_PLATFORM "$game" --solve "$code" >/dev/null || fail "the game cannot solve $code"
done <<'TASKS'
milk|Задача о молоке|12,7,5/12,0,0/6
kvass|Задача о квасе|8,5,3/8,0,0/4
TASKS
# The packaged game reads a result file through its libxml2 part.
printf '<?xml version="1.0" encoding="UTF-8"?>\n<ListStore><Columns/><Data><Record Column0="0" Column1="8" Column2="0" Column3="0"/></Data></ListStore>\n' >"$work/pupil.xml"
said=$(env -u DISPLAY -u QT_QPA_PLATFORM -u SOSUDNIK_LAZY_DIR "$game" --check 8,5,3/8,0,0/4 "$work/pupil.xml" 2>&1) || true
[ "$(cut -f2 <<<"$said")" = "не решено" ] || fail "the packaged game does not check a file: $said"

# The packaged game draws a map in each format, the SVG through its Qt SVG part.
for ext in png svg pdf; do
  env -u DISPLAY -u QT_QPA_PLATFORM -u SOSUDNIK_LAZY_DIR "$game" --map 12,7,5/12,0,0/6 -o "$work/map.$ext" ||
    fail "the packaged game wrote no $ext map"
done

# The metainfo ties in the launcher and the icon; the man pages as installed.
said=$(bash "$here/appstream.sh" validate-tree "$work/root" 2>&1) || fail "appstreamcli validate-tree: $said"
bash "$here/man_page.sh" "$game" "$root/share/man/man6/sosudnik.6.gz" "$root/share/man/ru/man6/sosudnik.6.gz"
