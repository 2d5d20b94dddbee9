#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# appstreamcli validate (or validate-tree) --no-net --strict, with one allowance:
# AppStream 1.0 calls <developer_name> deprecated in favour of <developer>,
# which 0.16 (Debian 12) does not know. The metainfo keeps the tag that
# every version reads, and newer validators count that as pedantic only.
# Usage: appstream.sh validate|validate-tree PATH
set -euo pipefail
command=${1:?usage: appstream.sh validate|validate-tree PATH}
path=${2:?path}
version=$(appstreamcli --version | sed -n 's/^AppStream version: //p')
options=(--no-net --strict)
if [ "$(printf '%s\n' 1.0 "$version" | sort -V | head -n 1)" = 1.0 ]; then
  # shellcheck disable=SC2054 # one option, its value a list
  options+=(--override=developer-name-tag-deprecated=pedantic,developer-info-missing=pedantic)
fi
exec appstreamcli "$command" "${options[@]}" "$path"
