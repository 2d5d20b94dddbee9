#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Installs what the game needs, builds the game alone into build/ and starts it.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/tools/setup.sh" --game "$top/build"
exec "$top/build/app/sosudnik"
