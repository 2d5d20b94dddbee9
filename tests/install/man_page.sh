#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Formats the man page the way lintian does and fails on any groff warning;
# also checks that it names every option the program's --help lists and
# every key of the game's menus.
# Usage: man_page.sh PAGE [PROGRAM]
set -euo pipefail
page=${1:?usage: man_page.sh PAGE [PROGRAM]}
program=${2:-}
warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
if [ -n "$warnings" ]; then
  echo "FAIL: groff warns about $page:" >&2
  echo "$warnings" >&2
  exit 1
fi
text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null)
words=(--help --version --solve sosudnik.xml 'EXIT STATUS' Ctrl+Z Ctrl+S Ctrl+H Ctrl+R Ctrl+T F2)
if [ -n "$program" ]; then
  # "  -h, --help   ..." and "  --solve <...>": every name the program knows.
  mapfile -t -O ${#words[@]} words < <(env -u DISPLAY -u QT_QPA_PLATFORM "$program" --help |
    grep -oE '^ +(-[a-z], )?--[a-z-]+' | tr ',' '\n' | tr -d ' ' | grep .)
  [ ${#words[@]} -gt 13 ] || { echo "FAIL: $program --help lists no options" >&2; exit 1; }
fi
for word in "${words[@]}"; do
  grep -qF -- "$word" <<<"$text" || {
    echo "FAIL: $page does not mention $word" >&2
    exit 1
  }
done
