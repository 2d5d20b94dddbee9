#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# The real program's command line with no display at all: --solve, --check,
# --help and --version answer, exit statuses are as documented, output that cannot be
# written is no success, messages stay short and never steer the terminal,
# and the game itself says that it has nowhere to show its window instead of
# aborting.
# Usage: command_line.sh PATH_TO_SOSUDNIK VERSION
set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

app=$(realpath -- "${1:?usage: command_line.sh PATH_TO_SOSUDNIK VERSION}")
version=${2:?version}
[ -x "$app" ] || fail "no program at $app"

work=$(mktemp -d "${TMPDIR:-/tmp}/sosudnik-cli.XXXXXX")
pipes=$(mktemp -d "${TMPDIR:-/tmp}/sosudnik-cli-pipe.XXXXXX")
files=$(mktemp -d "${TMPDIR:-/tmp}/sosudnik-cli-files.XXXXXX")
trap 'rm -rf "$work" "$pipes" "$files"' EXIT
cd "$work"
export LC_ALL=C.UTF-8

# run ARGS...: sets status, out and err; no display of any kind.
run() {
  set +e
  env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY= "$app" "$@" >"$work/out" 2>"$work/err"
  status=$?
  set -e
  out=$(cat "$work/out")
  err=$(cat "$work/err")
}

# unwritable HOW ARGS...: sets status and err, standard output being /dev/full
# (HOW=full), closed (closed) or a pipe whose reader is gone, SIGPIPE ignored
# (gone).
unwritable() {
  local how=$1
  shift
  set +e
  case $how in
    full) env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY= "$app" "$@" >/dev/full 2>"$work/err" ;;
    closed) env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY= "$app" "$@" >&- 2>"$work/err" ;;
    gone)
      rm -f "$pipes/fifo"
      mkfifo "$pipes/fifo"
      (
        trap '' PIPE
        # Opened for reading and writing, the FIFO does not wait for a
        # reader; the writer that stays has none once that one is closed.
        exec 7<>"$pipes/fifo" 8>"$pipes/fifo" 7<&-
        exec env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY= "$app" "$@" >&8 8>&- 2>"$work/err"
      )
      ;;
  esac
  status=$?
  set -e
  err=$(cat "$work/err")
}

# no_raw_controls: stderr holds no control character but the line ends.
no_raw_controls() {
  ! LC_ALL=C grep -q '[[:cntrl:]]' "$work/err"
}

# replay CAPACITIES START TARGET: checks the printed pours against the rule
# of the game, written here once more: each pour moves what it can, each
# line's levels are the result, and the target comes at the last pour only.
replay() {
  awk -v caps="$1" -v start="$2" -v target="$3" '
    BEGIN { split(caps, c, ","); split(start, l, ",") }
    NR == 1 { n = $1; next }
    {
      s = $1; r = $2
      amount = l[s] < c[r] - l[r] ? l[s] : c[r] - l[r]
      if (s == r || amount <= 0) { print "pour " NR - 1 ": nothing to pour"; bad = 1; exit }
      l[s] -= amount; l[r] += amount
      if ($3 != l[1] || $4 != l[2] || $5 != l[3]) { print "pour " NR - 1 ": levels differ"; bad = 1; exit }
      hit = l[s] == target || l[r] == target
      if (hit && NR - 1 < n) { print "target reached early at pour " NR - 1; bad = 1; exit }
      if (!hit && NR - 1 == n) { print "target not reached at the last pour"; bad = 1; exit }
    }
    END { if (!bad && NR - 1 != n) print "expected " n " pours, got " NR - 1 }
  ' "$work/out"
}

# Solvable: the milk task, 10 pours.
run --solve 12,7,5/12,0,0/6
[ "$status" -eq 0 ] || fail "milk: status $status ($err)"
[ "$(head -n1 <<<"$out")" = 10 ] || fail "milk: first line $(head -n1 <<<"$out")"
[ "$(wc -l <"$work/out")" -eq 11 ] || fail "milk: $(wc -l <"$work/out") lines"
problem=$(replay 12,7,5 12,0,0 6)
[ -z "$problem" ] || fail "milk: $problem"
[ -z "$err" ] || fail "milk: stderr $err"

# The start holding the target does not count; a capacity of 0 is allowed.
run --solve 8,5,3/4,4,0/4
[ "$status" -eq 0 ] && [ "$(head -n1 <<<"$out")" = 2 ] || fail "4 4 0: status $status, $out"
[ -z "$(replay 8,5,3 4,4,0 4)" ] || fail "4 4 0: $(replay 8,5,3 4,4,0 4)"
run --solve=5,0,3/5,0,0/2
[ "$status" -eq 0 ] && [ "$(head -n1 <<<"$out")" = 1 ] || fail "5 0 3: status $status, $out"

# Unsolvable: one line with the reason, status 1.
run --solve 999,4,6/6,0,0/3
[ "$status" -eq 1 ] || fail "999 4 6: status $status"
[ "$(wc -l <"$work/out")" -eq 1 ] || fail "999 4 6: $(wc -l <"$work/out") lines"
grep -q 'делятся на 2' "$work/out" || fail "999 4 6: reason $out"
[ -z "$err" ] || fail "999 4 6: stderr $err"

# Malformed, out of range, level above capacity, a missing or extra argument: status 2,
# the reason on stderr, nothing on stdout.
for args in "--solve 12,7,5/12,0,0" "--solve 12,7,5/12,0,0/x" "--solve 1000,7,5/12,0,0/6" \
  "--solve 12,7,5/12,8,0/6" "--solve" "--solve 12,7,5/12,0,0/6 more" "--solve 12,7,5/12,0,0/6 --bogus"; do
  # shellcheck disable=SC2086
  run $args
  [ "$status" -eq 2 ] || fail "$args: status $status"
  [ -z "$out" ] || fail "$args: stdout $out"
  [ -n "$err" ] || fail "$args: no message"
done
run --solve 12,7,5/12,0,0
grep -q 'C1,C2,C3/L1,L2,L3/T' "$work/err" || fail "malformed: $err"
run --solve 12,7,5/12,8,0/6
grep -q 'уровень не может превосходить объем сосуда' "$work/err" || fail "level above capacity: $err"

# One task at a time: a second --solve is refused, not silently preferred.
run --solve 12,7,5/12,0,0/6 --solve 8,5,3/8,0,0/4
[ "$status" -eq 2 ] && [ -z "$out" ] || fail "--solve twice: status $status, $out"
grep -q 'параметр --solve указан больше одного раза' "$work/err" || fail "--solve twice: $err"

# A lesson is the window's: with a window-less command it is refused.
run --lesson --solve 12,7,5/12,0,0/6
[ "$status" -eq 2 ] && [ -z "$out" ] || fail "--lesson --solve: status $status, $out"
grep -q 'параметр --lesson нужен только окну' "$work/err" || fail "--lesson --solve: $err"

# A thousand extra arguments of a thousand characters: a short message.
long=$(printf 'x%.0s' $(seq 1000))
many=()
for _ in $(seq 1000); do many+=("$long"); done
run --solve 8,5,3/8,0,0/4 "${many[@]}"
[ "$status" -eq 2 ] || fail "1000 arguments: status $status"
[ "$(wc -c <"$work/err")" -lt 400 ] || fail "1000 arguments: $(wc -c <"$work/err") bytes on stderr"
grep -q 'и еще 997 лишние' "$work/err" || fail "1000 arguments: $err"

# Terminal controls typed in (retitle, clear the screen) come out escaped.
title=$'\e]0;owned\a\e[2J'
for args in "--solve|$title" "--solve|8,5,3/8,0,0/4|$title" "--solve|8,5,3/8,0,0/4|-$title"; do
  IFS='|' read -r -a argv <<<"$args"
  run "${argv[@]}"
  [ "$status" -eq 2 ] || fail "controls ${args//$'\e'/ESC}: status $status"
  no_raw_controls || fail "controls ${args//$'\e'/ESC}: raw on stderr"
  grep -qF '\x1B]0;owned\x07\x1B[2J' "$work/err" || fail "controls ${args//$'\e'/ESC}: $(cat -v "$work/err")"
done

# --check: result files as the game writes them (windows-1251), each given
# by its path; a line a file, the status 0 only when every one is solved.
# result_file NAME "L1 L2 L3" ...: one save of those rows.
result_file() {
  local name=$1 row=0 levels
  shift
  {
    printf '<?xml version="1.0" encoding="windows-1251" standalone="yes"?>\r\n<ListStore><Columns>'
    printf '<ListColumn Name="Column0" Caption="\xD5\xEE\xE4"/></Columns><Data>'
    for levels in "$@"; do
      read -r a b c <<<"$levels"
      printf '<Record Column0="%d" Column1="%s" Column2="%s" Column3="%s"/>' "$row" "$a" "$b" "$c"
      row=$((row + 1))
    done
    printf '</Data></ListStore>\r\n'
  } >"$files/$name"
}
milk=12,7,5/12,0,0/6
result_file solved.xml "12 0 0" "5 7 0" "5 2 5" "10 2 0" "10 0 2" "3 7 2" "3 4 5" "8 4 0" "8 0 4" "1 7 4" "1 6 5"
result_file unsolved.xml "12 0 0" "5 7 0"
result_file wrong.xml "12 0 0" "9 3 0"
cp "$files/solved.xml" "$files/tab"$'\t'"name.xml"
run --check "$milk" "$files/solved.xml"
[ "$status" -eq 0 ] || fail "--check solved: status $status ($err)"
[ "$out" = "$files/solved.xml"$'\t'"решено"$'\t'"10"$'\t'"10"$'\t'"Наименьшее число переливаний." ] ||
  fail "--check solved: $out"
[ -z "$err" ] || fail "--check solved: stderr $err"
run --check "$milk" "$files/solved.xml" "$files/unsolved.xml" "$files/wrong.xml" "$files/missing.xml" \
  "$files/tab"$'\t'"name.xml"
[ "$status" -eq 1 ] || fail "--check class: status $status"
[ "$(wc -l <"$work/out")" -eq 5 ] || fail "--check class: $(wc -l <"$work/out") lines"
cut -f2,3 "$work/out" | tr '\t\n' ' |' | grep -qx 'решено 10|не решено 1|неверный ход |не читается |решено 10|' ||
  fail "--check class: $(cut -f2,3 "$work/out" | tr '\t\n' ' |')"
grep -qF "$files/tab\\tname.xml"$'\t' "$work/out" || fail "--check: a tab in a name not escaped: $out"
awk -F'\t' 'NF != 5 { exit 1 }' "$work/out" || fail "--check: not five fields a line"

# CSV for a spreadsheet: the header first, CR LF, no byte order mark, a
# name with a comma and quotes one field.
cp "$files/solved.xml" "$files/a,\"b\".xml"
run --check "$milk" "$files/a,\"b\".xml" --csv
[ "$status" -eq 0 ] || fail "--csv: status $status"
[ "$(head -c 4 "$work/out" | od -An -tx1 | tr -d ' ')" = d184d0b0 ] || fail "--csv: starts $(head -c 4 "$work/out" | od -An -tx1)"
[ "$(cat "$work/out")" = "файл,итог,ходы,наименьшее,подробности"$'\r\n'"\"$files/a,\"\"b\"\".xml\",решено,10,10,Наименьшее число переливаний."$'\r' ] ||
  fail "--csv: $(cat -A "$work/out")"

# Hostile files: an external entity naming a local file (its content never
# shows), an entity bomb, a file past 16 MiB; each refused, and quickly.
printf 'TOP-SECRET-2096' >"$files/secret.txt"
printf '<!DOCTYPE ListStore [<!ENTITY s SYSTEM "file://%s">]><ListStore><Columns/><Data><Record Column0="&s;" Column1="12" Column2="0" Column3="0"/></Data></ListStore>' \
  "$files/secret.txt" >"$files/xxe.xml"
{
  printf '<?xml version="1.0"?><!DOCTYPE ListStore [<!ENTITY l0 "lol">'
  for level in 1 2 3 4 5 6 7 8 9; do
    printf '<!ENTITY l%d "' "$level"
    for _ in 1 2 3 4 5 6 7 8 9 10; do printf '&l%d;' $((level - 1)); done
    printf '">'
  done
  printf ']><ListStore><Columns/><Data><Record Column0="&l9;" Column1="12" Column2="0" Column3="0"/></Data></ListStore>'
} >"$files/bomb.xml"
truncate -s $((16 * 1024 * 1024 + 1)) "$files/big.xml"
set +e
timeout 20 env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY= "$app" --check "$milk" "$files/xxe.xml" \
  "$files/bomb.xml" "$files/big.xml" >"$work/out" 2>"$work/err"
status=$?
set -e
[ "$status" -eq 1 ] || fail "hostile files: status $status"
[ "$(cut -f2 "$work/out" | sort -u)" = "не читается" ] || fail "hostile files: $(cat "$work/out")"
grep -q 'DOCTYPE' "$work/out" && grep -q 'больше 16 МиБ' "$work/out" || fail "hostile files: $(cat "$work/out")"
! grep -q 'TOP-SECRET' "$work/out" "$work/err" || fail "the secret file's content came out"
[ ! -s "$work/err" ] || fail "hostile files: stderr $(cat "$work/err")"

# Wrong arguments: status 2, the reason on stderr, nothing on stdout.
for args in "--check" "--check $milk" "--check 12,7,5 $files/solved.xml" "--check $milk $files/solved.xml --tsv" \
  "--csv" "--solve $milk --csv" "--check $milk $files/solved.xml --solve $milk"; do
  # shellcheck disable=SC2086
  run $args
  [ "$status" -eq 2 ] || fail "$args: status $status"
  [ -z "$out" ] || fail "$args: stdout $out"
  [ -n "$err" ] || fail "$args: no message"
done

run --help
[ "$status" -eq 0 ] && grep -q -- '--solve' "$work/out" || fail "--help: status $status, $out"
while IFS= read -r line; do
  [ ${#line} -le 80 ] || fail "--help: ${#line} characters in $line"
done <"$work/out"
grep -q '^  3  ' "$work/out" && grep -q '^  4  ' "$work/out" || fail "--help: exit statuses 3 and 4 missing"
run --version
[ "$status" -eq 0 ] && [ "$out" = "Сосудник $version" ] || fail "--version: status $status, $out"

# The task book: 40 tasks or more, one a line, levels 1..5, fewest pours
# in order; each task's count is what --solve finds.
run --book
[ "$status" -eq 0 ] && [ -z "$err" ] || fail "--book: status $status ($err)"
[ "$(wc -l <"$work/out")" -ge 40 ] || fail "--book: $(wc -l <"$work/out") tasks"
awk -F'\t' 'NF != 5 || $1 != NR || $2 < 1 || $2 > 5 || $4 < prev { print "line " NR ": " $0; exit 1 } { prev = $4 }' \
  "$work/out" || fail "--book: $(head -c 300 "$work/out")"
cp "$work/out" "$work/book"
while IFS=$'\t' read -r _ _ code fewest _; do
  run --solve "$code"
  [ "$(head -n1 <<<"$out")" = "$fewest" ] || fail "--book: $code takes $(head -n1 <<<"$out") pours, not $fewest"
done <"$work/book"
rm -f "$work/book"

# A generated task: the same line for the same level and seed, every run.
run --generate 3 --seed 7
[ "$status" -eq 0 ] && [ "$out" = "$(printf '5,4,18/0,0,18/11\t7')" ] || fail "--generate 3 --seed 7: $status, $out"
run --generate 5
[ "$status" -eq 0 ] && [ "$(wc -l <"$work/out")" -eq 2 ] || fail "--generate 5: status $status, $out"
first=$(head -n1 "$work/out")
seed=$(sed -n 's/^seed \([0-9]*\)$/\1/p' "$work/out")
[ -n "$seed" ] || fail "--generate 5: no seed in $out"
run --generate 5 --seed "$seed"
[ "$out" = "$first" ] || fail "--generate 5 --seed $seed: $out, not $first"
for args in "--generate 0" "--generate 6" "--generate" "--generate 2 --seed 4294967296" "--seed 1" \
  "--book --generate 1"; do
  # shellcheck disable=SC2086
  run $args
  [ "$status" -eq 2 ] && [ -z "$out" ] || fail "$args: status $status, $out"
  grep -q '^sosudnik: ' "$work/err" || fail "$args: $err"
done

# Output that cannot be written is no success: status 4 and the cause.
for how in full closed gone; do
  case $how in
    full) cause='на устройстве не осталось места' ;;
    closed) cause='стандартный вывод не записан: он закрыт' ;;
    gone) cause='читавшая его программа уже завершилась' ;;
  esac
  for args in "--solve 12,7,5/12,0,0/6" "--solve 999,4,6/6,0,0/3" --help --version --book "--generate 2" \
    "--check 12,7,5/12,0,0/6 $files/solved.xml"; do
    # shellcheck disable=SC2086
    unwritable "$how" $args
    [ "$status" -eq 4 ] || fail "$args, output $how: status $status ($err)"
    grep -q "^sosudnik: .*$cause" "$work/err" || fail "$args, output $how: $err"
  done
done

# The game itself with no display: a message, a status, no abort.
run 12,7,5/12,0,0/6
[ "$status" -eq 3 ] || fail "no display: status $status ($err)"
grep -q 'окно игры показать негде' "$work/err" || fail "no display: $err"
# A display that is named but not there: the platform plugin fails.
for n in $(seq 250 260); do
  [ -e "/tmp/.X11-unix/X$n" ] || break
done
set +e
env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY=":$n" "$app" >"$work/out" 2>"$work/err"
status=$?
set -e
[ "$status" -eq 3 ] || fail "display :$n: status $status"
grep -q "не удалось подключиться к дисплею «:$n»" "$work/err" || fail "display :$n: $(cat "$work/err")"
# The display's name as given, controls and all: escaped.
set +e
env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY=":$n$title" "$app" >"$work/out" 2>"$work/err"
status=$?
set -e
[ "$status" -eq 3 ] || fail "display with controls: status $status"
no_raw_controls || fail "display with controls: raw on stderr"
# Any platform that fails while the game starts, whatever Qt's words: EGLFS
# without a graphics device ends in a fatal message of its own.
if ! compgen -G '/dev/dri/*' >/dev/null; then
  set +e
  timeout 30 env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY= "$app" -platform eglfs >"$work/out" 2>"$work/err"
  status=$?
  set -e
  [ "$status" -eq 3 ] || fail "eglfs: status $status ($(cat "$work/err"))"
  grep -q 'платформа Qt «eglfs» не запустилась, и окно игры показать негде' "$work/err" ||
    fail "eglfs: $(cat "$work/err")"
fi

# Nothing was written where it ran.
rm -f "$work/out" "$work/err"
[ -z "$(ls -A "$work")" ] || fail "files written: $(ls -A "$work")"
echo "command line: all checks passed"
