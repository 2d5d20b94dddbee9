#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Copies the source tree as it stands, without build folders: in a git work
# tree the files git tracks or would track (edits not yet committed
# included), elsewhere everything but build*/ and .git.
# Usage: tools/copy_tree.sh DEST   (DEST is made if missing)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dest=${1:?usage: copy_tree.sh DEST}
mkdir -p "$dest"

if git -C "$top" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  # Files deleted but not yet committed are still listed: keep those that exist.
  git -C "$top" ls-files -z --cached --others --exclude-standard |
    (cd "$top" && while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done) |
    tar -C "$top" --null -T - -cf - | tar -C "$dest" -xf -
else
  tar -C "$top" --exclude=./.git --exclude='./build' --exclude='./build-*' -cf - . | tar -C "$dest" -xf -
fi
