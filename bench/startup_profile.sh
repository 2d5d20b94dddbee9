#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Start-up counted in instructions, which neither a busy machine nor the X
# server sways: the game, the bare window with one line of text and the bare
# window each run under callgrind until their first whole frame (the probe of
# bench/startup.sh ends them there), under a private Xvfb.
#
# Usage: bench/startup_profile.sh [--settings FILE | --config DIR] [--link LIB]... [BUILD_DIR]
#   --settings, --config  as for bench/startup.sh
#   --link LIB            also what linking LIB would cost the game at start:
#                         the bare window with text is counted once more with
#                         LIB (a path or a soname such as libQt6Svg.so.6) loaded
#                         as if the program needed it, and the difference is
#                         told against the game's total
# The profiles stay in BUILD_DIR/startup-profile/ for callgrind_annotate.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/bench/startup_common.sh"
links=()
while [ $# -gt 0 ]; do
  case $1 in
    --link) links+=("${2:?--link LIB}"); shift 2 ;;
    -*) startup_option "$1" "${2:-}" || { echo "unknown option $1" >&2; exit 2; }; shift 2 ;;
    *) break ;;
  esac
done
build=${1:-$top/build}
game=${SOSUDNIK:-$build/app/sosudnik}
bare=$build/bench/bare_window
probe=$build/bench/frame_probe.so
for f in "$game" "$bare" "$probe"; do
  [ -e "$f" ] || { echo "missing $f: build first (cmake --build $build)" >&2; exit 1; }
done
for tool in valgrind callgrind_annotate; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool is missing: apt-get install valgrind" >&2; exit 1; }
done

. "$top/tools/xvfb.sh"
out=$build/startup-profile
mkdir -p "$out"
work=$(mktemp -d "${TMPDIR:-/tmp}/sosudnik-profile.XXXXXX")
trap 'stop_xvfb; rm -rf "$work"' EXIT
start_xvfb "$work/xvfb.log" || { echo "no X display could be started" >&2; exit 1; }
startup_folders "$work"

# profile NAME SIZE PRELOAD EXE [ARG]: the program under callgrind until its
# first whole frame; prints its total instruction count.
profile() {
  local name=$1 size=$2 preload=$3 file=$out/$1.callgrind
  shift 3
  rm -f "$file" "$work/frame"
  (startup_run "$work" env SOSUDNIK_PROBE_EXIT=1 SOSUDNIK_PROBE_T0=0 SOSUDNIK_PROBE_OUT="$work/frame" \
    SOSUDNIK_PROBE_SIZE="$size" LD_PRELOAD="$preload" \
    valgrind --tool=callgrind --callgrind-out-file="$file" "$@") >"$work/$name.log" 2>&1 || true
  [ -s "$work/frame" ] || { echo "$name: no whole frame under callgrind:" >&2; cat "$work/$name.log" >&2; exit 1; }
  awk '/^summary:|^totals:/ {print $2; exit}' "$file"
}

# part FILE NAME...: the largest inclusive count of any function of that name
# (its outermost call), 0 when the program never called it.
part() {
  local file=$1
  shift
  callgrind_annotate --inclusive=yes --threshold=100 --auto=no "$file" 2>/dev/null |
    awk -v names="$(printf '%s\n' "$@")" '
      BEGIN { n = split(names, want, "\n") }
      /^ *[0-9,]+ / {
        line = $0
        sub(/ \[[^]]*\]$/, "", line)
        for (i = 1; i <= n; i++) {
          k = index(line, ":" want[i])
          if (k && k + length(want[i]) == length(line)) {
            v = $1; gsub(",", "", v); v += 0
            if (v > best) best = v
          }
        }
      }
      END { print best + 0 }'
}

millions() { awk -v v="$1" 'BEGIN { printf "%.1f", v / 1e6 }'; }

startup_config_said
echo "instructions to the first whole frame, in millions (callgrind; each row counts"
echo "everything below its functions, so rows overlap and do not add up)"
g=$(profile game 642x473 "$probe" "$game")
t=$(profile text 642x494 "$probe" "$bare" --text)
b=$(profile bare 642x494 "$probe" "$bare")
printf '%-58s %8s %14s %8s\n' "part" "game" "bare + text" "bare"
row() {
  local label=$1
  shift
  printf '%-58s %8s %14s %8s\n' "$label" \
    "$(millions "$(part "$out/game.callgrind" "$@")")" \
    "$(millions "$(part "$out/text.callgrind" "$@")")" \
    "$(millions "$(part "$out/bare.callgrind" "$@")")"
}
printf '%-58s %8s %14s %8s\n' "everything" "$(millions "$g")" "$(millions "$t")" "$(millions "$b")"
before() { echo $(($1 - $(part "$2" main) - $(part "$2" start_thread))); }
printf '%-58s %8s %14s %8s\n' "before main: loading, linking, constructors" \
  "$(millions "$(before "$g" "$out/game.callgrind")")" "$(millions "$(before "$t" "$out/text.callgrind")")" \
  "$(millions "$(before "$b" "$out/bare.callgrind")")"
row "libraries and plugins opened later (dlopen)" _dl_open
row "on other threads (X events; the game warms fontconfig)" start_thread
row "QApplication (with the platform plugin)" "QApplication::QApplication(int&, char**, int)"
row "fontconfig reading its configuration" "QFontconfigDatabase::populateFontDatabase()"
row "font engines" "QFontconfigDatabase::fontEngine(QFontDef const&, void*)"
row "text shaped" "QTextEngine::shapeText(int) const"
row "glyphs drawn" "QRasterPaintEngine::drawCachedGlyphs(int, unsigned int const*, QFixedPoint const*, QFontEngine*)"
row "images decoded" "QImageReader::read(QImage*)"
row "the event loop until the frame (layout, the first paint)" "QCoreApplication::exec()"
awk -v g="$g" -v t="$t" 'BEGIN { printf "game / bare window with text: %.2fx\n", g / t }'

for lib in ${links[@]+"${links[@]}"}; do
  name=$(basename "$lib")
  l=$(profile "text+$name" 642x494 "$probe:$lib" "$bare" --text)
  awk -v l="$l" -v t="$t" -v g="$g" -v name="$name" 'BEGIN {
    printf "linking %s: +%.2f million instructions at start, %.1f %% of the game'"'"'s %.1f million", name, (l - t) / 1e6, 100 * (l - t) / g, g / 1e6
    print ((l - t) > 0.02 * g ? " (over 2 %: load it on first use)" : " (under 2 %)") }'
done
