#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Runs a checker and passes only if it succeeds without a word: a validator's
# hints and warnings count as failures too.
# Usage: silent.sh COMMAND [ARGS...]
set -uo pipefail
out=$("$@" 2>&1)
status=$?
if [ "$status" -ne 0 ] || [ -n "$out" ]; then
  echo "FAIL: $* (exit status $status)" >&2
  echo "$out" >&2
  exit 1
fi
