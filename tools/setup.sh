#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Installs the Debian packages the build and the tests need (only those that
# are missing), then configures and builds into the given folder.
# Usage: tools/setup.sh BUILD_DIR [extra cmake options...]
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?build folder}
shift

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins fonts-liberation
  libxml2-dev libxml2-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick xclip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    sudo=()
  elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
  else
    echo "Missing packages. Run as root:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$top" -B "$build" -G Ninja "$@"
fi
cmake --build "$build"
