#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# `sosudnik --map CODE -o FILE` as a teacher runs it, with no display at all:
# a PNG, an SVG and a PDF that tools read, holding the task's corners, its
# heading and its shortest solution; exit statuses 2 for what is mistyped and
# 4 for a file that cannot be written; a file already there replaced by the
# rename alone, and nothing left beside it.
# Usage: map_file.sh PATH_TO_SOSUDNIK
set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

app=$(realpath -- "${1:?usage: map_file.sh PATH_TO_SOSUDNIK}")
[ -x "$app" ] || fail "no program at $app"
for tool in pdfinfo pdftotext xmllint rsvg-convert file; do
  command -v "$tool" >/dev/null 2>&1 ||
    fail "$tool is missing (packages poppler-utils, libxml2-utils, librsvg2-bin, file; ./test.sh installs them)"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/sosudnik-map.XXXXXX")
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"
cd "$work"
export LC_ALL=C.UTF-8

# run ARGS...: sets status and err; no display, no runtime folder.
run() {
  set +e
  env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR DISPLAY= timeout 60 "$app" "$@" >"$work/stdout.txt" 2>"$work/stderr.txt"
  status=$?
  set -e
  err=$(cat "$work/stderr.txt")
  [ ! -s "$work/stdout.txt" ] || fail "$*: wrote to standard output: $(cat "$work/stdout.txt")"
}

ok() { # ok ARGS...: written, silently
  run "$@"
  [ "$status" -eq 0 ] || fail "$*: status $status, $err"
  [ -z "$err" ] || fail "$*: said $err"
}

refused() { # refused STATUS TEXT ARGS...: that status and a message holding TEXT
  local want=$1 text=$2
  shift 2
  run "$@"
  [ "$status" -eq "$want" ] || fail "$*: status $status, not $want ($err)"
  grep -qF -- "$text" <<<"$err" || fail "$*: said '$err', not '$text'"
}

# The text of a PDF on one line, as a reader would read it.
pdf_words() { pdftotext "$1" - | tr '\n' ' ' | tr -s ' '; }

milk=12,7,5/12,0,0/6

# The three formats of the milk task.
mkdir out
ok --map "$milk" -o out/milk.png
file out/milk.png | grep -q 'PNG image data, 1080 x 960' || fail "milk.png: $(file out/milk.png)"

ok --map "$milk" -o out/milk.svg
xmllint --noout out/milk.svg || fail "milk.svg is no XML"
rsvg-convert -o "$work/svg.png" out/milk.svg || fail "milk.svg does not render"
grep -qF '<title>Карта переливаний: задача 12,7,5/12,0,0/6</title>' out/milk.svg || fail "milk.svg: no title"

ok --map "$milk" -o out/milk.PDF
pdfinfo out/milk.PDF | grep -qE '^Pages: +1$' || fail "milk.PDF is not one page"
pdfinfo out/milk.PDF | grep -qE '^Page size:.*\(A4\)' || fail "milk.PDF is not A4"
words=$(pdf_words out/milk.PDF)
# The heading, the polygon's four corners (V1, V2, V3 as worked out by hand:
# 7 <= V1 + V2 <= 12 and V2 <= 7), the solution's length and the legend.
for want in "Карта переливаний: задача 12,7,5/12,0,0/6" "Кратчайшее решение — 10 переливаний" \
  "Положений, достижимых из начала: 24" "0, 7, 5" "5, 7, 0" "7, 0, 5" "12, 0, 0" "кратчайшее решение" \
  "переливание сюда решает задачу"; do
  grep -qF -- "$want" <<<"$words" || fail "milk.PDF lacks '$want': $words"
done
# The SVG holds the same words as text.
for want in "0, 7, 5" "5, 7, 0" "7, 0, 5" "12, 0, 0"; do
  grep -qF -- ">$want<" out/milk.svg || fail "milk.svg lacks the corner $want"
done
[ "$(ls out | wc -l)" -eq 3 ] || fail "left beside the maps: $(ls out)"

# The kvass task's corners; a task without solution says why, as --solve does.
ok --map 8,5,3/8,0,0/4 -o kvass.pdf
words=$(pdf_words kvass.pdf)
for want in "Кратчайшее решение — 6 переливаний" "5, 0, 3" "8, 0, 0" "3, 5, 0" "0, 5, 3"; do
  grep -qF -- "$want" <<<"$words" || fail "kvass.pdf lacks '$want': $words"
done
set +e
reason=$(env DISPLAY= "$app" --solve 8,7,6/8,2,0/5)
set -e
ok --map 8,7,6/8,2,0/5 -o none.pdf
grep -qF -- "$reason" <<<"$(pdf_words none.pdf)" || fail "none.pdf does not say '$reason': $(pdf_words none.pdf)"

# A segment, a point, and the largest task: drawn, and the corners right.
ok --map 5,3,0/2,1,0/3 -o segment.pdf
words=$(pdf_words segment.pdf)
grep -qF "3, 0, 0" <<<"$words" && grep -qF "0, 3, 0" <<<"$words" || fail "segment.pdf: $words"
ok --map 4,5,6/0,0,0/1 -o point.svg
xmllint --noout point.svg || fail "point.svg is no XML"
ok --map 999,500,499/999,0,0/749 -o large.pdf
words=$(pdf_words large.pdf)
for want in "997 переливаний" "500, 0, 499" "999, 0, 0" "499, 500, 0" "0, 500, 499"; do
  grep -qF -- "$want" <<<"$words" || fail "large.pdf lacks '$want'"
done

# What is mistyped: status 2, nothing written.
refused 2 "для --map нужен файл" --map "$milk"
refused 2 "не годится для карты: нужно расширение png, svg или pdf" --map "$milk" -o milk.gif
refused 2 "не годится для карты" --map "$milk" -o milk
refused 2 "не годится для карты" --map "$milk" -o out.png/milk
refused 2 "не разобрать" --map 12,7,5 -o bad.png
refused 2 "параметр --output работает только с --map" -o milk.png
refused 2 "параметр --output работает только с --map" --solve "$milk" --output milk.png
refused 2 "параметры --solve и --map вместе не работают" --map "$milk" --solve "$milk" -o milk.png
refused 2 "параметр --map указан больше одного раза" --map "$milk" --map "$milk" -o milk.png
refused 2 "нужен только окну" --map "$milk" -o milk.png --lesson
for f in milk.gif milk bad.png milk.png; do
  [ ! -e "$f" ] || fail "$f was written"
done

# A file that cannot be written: status 4 with the reason.
refused 4 "не записан: папки, в которой он должен быть, нет" --map "$milk" -o nowhere/milk.png
mkdir folder.png
refused 4 "не записан: под этим именем папка" --map "$milk" -o folder.png
mkfifo pipe.png
refused 4 "не записан: под этим именем не обычный файл" --map "$milk" -o pipe.png

# An existing file is replaced by a new one renamed over it: its inode
# changes, and a link the user named still points where it did.
printf 'old' >old.svg
before=$(stat -c %i old.svg)
ok --map "$milk" -o old.svg
[ "$(stat -c %i old.svg)" != "$before" ] || fail "old.svg was written over in place"
grep -q '<svg' old.svg || fail "old.svg was not replaced"
printf 'old' >target.png
ln -s target.png link.png
ok --map "$milk" -o link.png
[ -L link.png ] || fail "the link was replaced by a file"
file target.png | grep -q 'PNG image data' || fail "the link's target was not written"

# A folder the user cannot write: the old file stays as it was, however
# writable it is itself, and nothing is left beside it.
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null 2>&1; then
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
elif [ "$(id -u)" -ne 0 ]; then
  as_user=()
else
  as_user=(skip)
fi
if [ "${as_user[0]:-}" != skip ]; then
  mkdir locked
  printf 'old' >locked/milk.png
  chmod 666 locked/milk.png
  chmod 555 locked
  set +e
  env -u QT_QPA_PLATFORM DISPLAY= "${as_user[@]}" "$app" --map "$milk" -o locked/milk.png 2>"$work/stderr.txt"
  status=$?
  set -e
  [ "$status" -eq 4 ] || fail "a locked folder: status $status ($(cat "$work/stderr.txt"))"
  grep -qF "не записан: нет прав на запись" "$work/stderr.txt" || fail "a locked folder: $(cat "$work/stderr.txt")"
  [ "$(cat locked/milk.png)" = old ] || fail "the file in the locked folder was written over"
  [ "$(ls locked)" = milk.png ] || fail "left in the locked folder: $(ls locked)"
fi
echo "map files: all passed"
