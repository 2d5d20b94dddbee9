#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Builds, tests and packages the game in a clean Debian SUITE, as a newcomer
# on that release would: a fresh `debootstrap --variant=minbase` chroot gets a
# copy of the tree, and inside it `./run.sh` must build the game and map its
# window (under a private Xvfb, then the game is closed), `./test.sh` must
# pass, and `tools/package.sh` must build the package with dpkg-buildpackage.
# Last the package is installed with apt into another fresh copy of the
# chroot, where the game must start. Prints the suite's g++, Qt and libxml2
# and a summary; fails if any step failed. Not part of ./test.sh: a run
# takes 8 to 10 minutes on two cores.
#
# Usage: tools/check-distro.sh [--head] SUITE     (bookworm, trixie, forky, testing, sid...)
#   --head  copy the last commit (git archive HEAD) instead of the work tree as it stands
# Environment:
#   SOSUDNIK_CHROOTS  where the chroots live (default: chroots/ beside this checkout)
#   SOSUDNIK_MIRROR   the Debian mirror (default http://deb.debian.org/debian)
# In $SOSUDNIK_CHROOTS/SUITE/:
#   base/          the debootstrap result, made once and never changed
#   root/          this run's copy of base, kept afterwards to look into
#                  (the tree is in /root/sosudnik; `chroot root bash` needs
#                  /proc mounted for most work)
#   installed/     the copy where the package was installed
#   apt-archives/  the packages downloaded, kept for the next run
#   logs/          one log per step
# Needs root, debootstrap and unshare; the tests run in a network namespace of
# their own, so that their X servers cannot meet the host's.

# The steps' functions are called through step.
# shellcheck disable=SC2317
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
from_head=
if [ "${1:-}" = --head ]; then
  from_head=1
  shift
fi
suite=${1:?usage: tools/check-distro.sh [--head] SUITE}
chroots=${SOSUDNIK_CHROOTS:-$(dirname "$top")/chroots}
mirror=${SOSUDNIK_MIRROR:-http://deb.debian.org/debian}

die() {
  echo "check-distro.sh: $*" >&2
  exit 1
}
[ "$(id -u)" -eq 0 ] || die "needs root (debootstrap, chroot, mount)"
for tool in debootstrap unshare chroot mount; do
  command -v "$tool" >/dev/null 2>&1 || die "$tool is missing (packages debootstrap, util-linux)"
done
[[ "$suite" =~ ^[a-z-]+$ ]] || die "not a suite name: $suite"

here="$chroots/$suite"
base="$here/base"
root="$here/root"
installed="$here/installed"
logs="$here/logs"
mkdir -p "$here" "$here/apt-archives" "$logs"
chroots=$(cd "$chroots" && pwd)

# --- mounts --------------------------------------------------------------------

mounted=()
mount_into() { # mount_into ROOT: what a build and an X server need inside
  local r=$1
  mount -t proc proc "$r/proc"
  mounted+=("$r/proc")
  mount -t devpts -o newinstance,ptmxmode=0666 devpts "$r/dev/pts"
  mounted+=("$r/dev/pts")
  mount -t tmpfs -o mode=1777 tmpfs "$r/dev/shm"
  mounted+=("$r/dev/shm")
  mkdir -p "$r/var/cache/apt/archives"
  mount --bind "$here/apt-archives" "$r/var/cache/apt/archives"
  mounted+=("$r/var/cache/apt/archives")
}
unmount_all() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" 2>/dev/null || true
  done
  mounted=()
}
# Whatever an interrupted run left mounted below a folder.
unmount_below() {
  local m
  awk -v below="$1/" 'index($2, below) == 1 { print $2 }' /proc/mounts | sort -r | while read -r m; do
    umount "$m" 2>/dev/null || umount -l "$m"
  done
}
trap unmount_all EXIT

# --- running inside -----------------------------------------------------------

inside_env=(env -i HOME=/root LANG=C.UTF-8 TERM=dumb DEBIAN_FRONTEND=noninteractive
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin:/usr/games)
in_root() { # in_root ROOT COMMAND...: with the network
  local r=$1
  shift
  chroot "$r" "${inside_env[@]}" "$@"
}
offline() { # offline ROOT COMMAND...: in a network namespace of its own
  local r=$1
  shift
  unshare --net bash -c 'ip link set lo up 2>/dev/null || true; exec "$@"' - \
    chroot "$r" "${inside_env[@]}" "$@"
}

fresh_copy() { # fresh_copy DEST: base as debootstrap left it, with apt set up
  unmount_below "$1"
  rm -rf "$1"
  cp -a "$base" "$1"
  # The testing suite's Release file may be past its Valid-Until on a mirror snapshot.
  echo 'Acquire::Check-Valid-Until "false";' >"$1/etc/apt/apt.conf.d/99check-distro"
  printf '#!/bin/sh\nexit 101\n' >"$1/usr/sbin/policy-rc.d"
  chmod +x "$1/usr/sbin/policy-rc.d"
  cp -L /etc/resolv.conf "$1/etc/resolv.conf" 2>/dev/null || true
}

# --- steps --------------------------------------------------------------------

names=()
results=()
times=()
# A step runs in a subshell of its own, which stops at its first failing
# command (set -e would not apply to a function called in a condition).
step() { # step NAME COMMAND...: logs to logs/NAME.log; later steps run even if it fails
  local name=$1 start=$SECONDS status=0
  shift
  printf '%-10s ' "$name"
  "$@" >"$logs/$name.log" 2>&1 &
  wait $! || status=$?
  names+=("$name")
  times+=($((SECONDS - start)))
  if [ "$status" -eq 0 ]; then
    results+=(pass)
    echo "pass  $((SECONDS - start)) s"
  else
    results+=(FAIL)
    echo "FAIL  $((SECONDS - start)) s (exit status $status; log $logs/$name.log)"
    # The first errors, to start reading from.
    grep -m 8 -E 'error:|Error [0-9]|CMake (Error|Warning)|FAIL|\*\*\*Failed|Timeout' "$logs/$name.log" |
      cut -c 1-300 | sed 's/^/    /' || true
  fi
  return 0
}
passed() { # passed NAME: whether step NAME passed
  local i
  for i in "${!names[@]}"; do
    [ "${names[i]}" = "$1" ] && [ "${results[i]}" = pass ] && return 0
  done
  return 1
}

bootstrap() {
  local script=/usr/share/debootstrap/scripts/$suite
  [ -e "$script" ] || script=/usr/share/debootstrap/scripts/sid
  rm -rf "$base.partial"
  debootstrap --variant=minbase "$suite" "$base.partial" "$mirror" "$script"
  mv "$base.partial" "$base"
}

prepare() {
  fresh_copy "$root"
  mkdir -p "$root/root/sosudnik"
  if [ -n "$from_head" ]; then
    git -C "$top" archive --format=tar HEAD | tar -C "$root/root/sosudnik" -xf -
  else
    "$top/tools/copy_tree.sh" "$root/root/sosudnik"
  fi
}

packages() {
  in_root "$root" apt-get update
  in_root "$root" /root/sosudnik/tools/setup.sh --install-only
}

versions() {
  # shellcheck disable=SC2016 # expanded inside
  in_root "$root" sh -c '
    echo "g++      $(g++ -dumpfullversion) (g++ $(dpkg-query -W -f="\${Version}" g++))"
    echo "Qt       $(dpkg-query -W -f="\${Version}" qt6-base-dev) (qt6-base-dev)"
    echo "libxml2  $(pkg-config --modversion libxml-2.0) ($(dpkg-query -W -f="\${Version}" libxml2-dev) libxml2-dev)"
    echo "cmake    $(dpkg-query -W -f="\${Version}" cmake), debhelper $(dpkg-query -W -f="\${Version}" debhelper), lintian $(dpkg-query -W -f="\${Version}" lintian)"'
}

# ./run.sh under a private X server until the game's main window is mapped;
# the clean-up closes the game again.
run_game() {
  cat >"$root/root/run-game.sh" <<'EOF'
set -euo pipefail
. /root/sosudnik/tools/game_under_x.sh
game_setup distro
start_game /root/sosudnik/run.sh
poll 1800 main_window_shown || fail "no main window within 30 minutes"
echo "the main window is mapped: $(xdotool getwindowgeometry "$win" | tr '\n' ' ')"
cat "$work/app.log"
passed=1
EOF
  offline "$root" bash /root/run-game.sh
}

run_tests() {
  offline "$root" bash -c 'cd /root/sosudnik && ./test.sh'
}

run_package() {
  offline "$root" bash -c 'cd /root/sosudnik && tools/package.sh'
}

# The package on its own: apt resolves its dependencies in a fresh chroot,
# the game solves a task and then maps its window.
install_package() {
  local deb
  deb=$(find "$root/root/sosudnik/build-deb" -maxdepth 1 -name 'sosudnik_*.deb' | head -n 1)
  [ -n "$deb" ] || die "no package in build-deb/"
  # Its own mounts only, undone when the step ends.
  mounted=()
  trap unmount_all EXIT
  fresh_copy "$installed"
  mount_into "$installed"
  cp "$deb" "$installed/root/"
  in_root "$installed" apt-get update
  in_root "$installed" apt-get install -y --no-install-recommends "/root/$(basename "$deb")"
  in_root "$installed" sosudnik --solve 8,5,3/8,0,0/4
  # The tools to see the window come after the game, so that they cannot
  # bring in something the package forgot to depend on.
  in_root "$installed" apt-get install -y --no-install-recommends xvfb xauth xdotool
  mkdir -p "$installed/root/tools"
  cp "$top/tools/game_under_x.sh" "$top/tools/xvfb.sh" "$installed/root/tools/"
  cat >"$installed/root/start-game.sh" <<'EOF'
set -euo pipefail
. /root/tools/game_under_x.sh
game_setup installed
start_game sosudnik
poll 60 main_window_shown || fail "no main window within 60 s"
echo "the main window is mapped: $(xdotool getwindowgeometry "$win" | tr '\n' ' ')"
passed=1
EOF
  offline "$installed" bash /root/start-game.sh
}

echo "== $suite in $here"
if [ ! -d "$base" ]; then
  step bootstrap bootstrap
  passed bootstrap || die "debootstrap failed (log $logs/bootstrap.log)"
fi
step prepare prepare
passed prepare || die "could not copy the chroot (log $logs/prepare.log)"
mount_into "$root"
step packages packages
step versions versions
sed 's/^/  /' "$logs/versions.log"
step run run_game
step test run_tests
step package run_package
if passed package; then
  step install install_package
fi
unmount_all
unmount_below "$here"

echo "== $suite: summary (compiler and CMake warnings counted in each log)"
failed=0
for i in "${!names[@]}"; do
  warnings=$(grep -cE '^[^ ]+:[0-9]+:[0-9]+: warning:|^CMake Warning' "$logs/${names[i]}.log" || true)
  printf '  %-10s %-5s %5d s   %s warnings\n' "${names[i]}" "${results[i]}" "${times[i]}" "$warnings"
  [ "${results[i]}" = pass ] || failed=1
done
[ "$failed" -eq 0 ] && echo "== $suite: all steps passed" || echo "== $suite: some steps FAILED"
exit "$failed"
