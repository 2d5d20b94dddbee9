#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Formats each man page the way lintian does and fails on any groff warning;
# also checks that each names every option the program's --help lists and
# every key of the game's menus, and that a translation has the same items
# (options, keys, exit statuses, files) in the same order as the English page.
# Usage: man_page.sh PROGRAM PAGE [TRANSLATED_PAGE...]   (PROGRAM - skips --help;
#        pages may be gzipped)
set -euo pipefail
program=${1:?usage: man_page.sh PROGRAM PAGE [TRANSLATED_PAGE...]}
page=${2:?usage: man_page.sh PROGRAM PAGE [TRANSLATED_PAGE...]}
shift 2

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

words=(--help --version --solve sosudnik.xml Ctrl+Z Ctrl+S Ctrl+H Ctrl+R Ctrl+T F2)
if [ "$program" != - ]; then
  # "  -h, --help   ..." and "  --solve <...>": every name the program knows.
  mapfile -t -O ${#words[@]} words < <(env -u DISPLAY -u QT_QPA_PLATFORM "$program" --help |
    grep -oE '^ +(-[a-z], )?--[a-z-]+' | tr ',' '\n' | tr -d ' ' | grep .)
  [ ${#words[@]} -gt 12 ] || fail "$program --help lists no options"
fi

# Section number and the tag line of every .TP item: the options, keys, exit
# statuses and files, which read the same in every language.
items() {
  gzip -dcf "$1" | awk '/^\.SH/ { section++ } tag { print section "\t" $0; tag = 0 } /^\.TP/ { tag = 1 }'
}

check() {
  local page=$1 warnings text word
  shift
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "groff warns about $page:"$'\n'"$warnings"
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null)
  for word in "${words[@]}" "$@"; do
    grep -qF -- "$word" <<<"$text" || fail "$page does not mention $word"
  done
  # The game's Russian writes "е".
  ! grep -n '[ёЁ]' <<<"$text" >&2 || fail "$page writes \"ё\""
}

check "$page" 'EXIT STATUS'
for translation in "$@"; do
  check "$translation"
  [ "$(gzip -dcf "$translation" | grep -c '^\.SH')" = "$(gzip -dcf "$page" | grep -c '^\.SH')" ] ||
    fail "$translation and $page have different numbers of sections"
  diff -u <(items "$page") <(items "$translation") >&2 ||
    fail "$translation lists other items than $page (above: section number and the line after .TP)"
done
