#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Installs the Debian packages the build and the tests need (only those that
# are missing), then configures and builds into the given folder.
# Usage: tools/setup.sh [--game] BUILD_DIR [extra cmake options...]
#        tools/setup.sh --install-only
#   --game          only what building and playing needs, and only the game itself;
#                   a new folder is configured without tests and benchmarks
#   --install-only  installs everything the tests need, and builds nothing
# Without --game a folder that --game configured gets them turned on.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
game_only=
install_only=
case "${1:-}" in
  --game) game_only=1 ;;
  --install-only) install_only=1 ;;
esac
[ -z "$game_only$install_only" ] || shift
if [ -z "$install_only" ]; then
  build=${1:?build folder}
  shift
fi

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins fonts-liberation qt6-translations-l10n
  libxml2-dev libxlsxwriter-dev
)
if [ -z "$game_only" ]; then
  packages+=(
    libxml2-utils unzip
    libgtest-dev libgmock-dev libbenchmark-dev qt6-base-private-dev
    xvfb xauth xdotool x11-utils x11-xkb-utils imagemagick xclip
    appstream desktop-file-utils librsvg2-bin file poppler-utils
    build-essential dpkg-dev debhelper lintian
    qt6-gtk-platformtheme gnome-themes-extra xsettingsd weston qt6-wayland
  )
fi

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

if [ -n "$install_only" ]; then
  exit 0
elif [ -n "$game_only" ]; then
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$build" -G Ninja -DBUILD_TESTING=OFF -DSOSUDNIK_BENCHMARKS=OFF "$@"
  fi
  cmake --build "$build" --target sosudnik
else
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$build" -G Ninja "$@"
  elif grep -qx 'BUILD_TESTING:BOOL=OFF' "$build/CMakeCache.txt"; then
    cmake "$build" -DBUILD_TESTING=ON -DSOSUDNIK_BENCHMARKS=ON "$@"
  fi
  cmake --build "$build"
fi
