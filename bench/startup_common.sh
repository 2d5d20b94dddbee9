# SPDX-FileCopyrightText: 2026 The Sosudnik developers
# SPDX-License-Identifier: MIT
# Sourced by bench/startup.sh and bench/startup_profile.sh: the options both
# take for what a program finds in its configuration folder, and the folders
# every program under test starts with.
#   startup_option OPTION VALUE  takes --settings FILE or --config DIR; 1 for any other
#   startup_folders WORK         home, runtime and configuration folders under WORK
#   startup_run WORK COMMAND...  COMMAND in WORK/run with those folders, on X
settings="" config=""

startup_option() {
  case $1 in
    --settings)
      settings=$2
      [ -f "$settings" ] || { echo "no settings file '$settings'" >&2; exit 2; } ;;
    --config)
      config=$2
      [ -d "$config" ] || { echo "no configuration folder '$config'" >&2; exit 2; } ;;
    *) return 1 ;;
  esac
}

# The same folders for every run: a program that writes there at start shows
# in the next run as it would on the player's machine.
startup_folders() {
  mkdir -p "$1/home" "$1/run" "$1/config"
  chmod 700 "$1/run"
  if [ -n "$config" ]; then
    cp -R "$config/." "$1/config/"
  elif [ -n "$settings" ]; then
    mkdir -p "$1/config/sosudnik"
    cp "$settings" "$1/config/sosudnik/sosudnik.conf"
  fi
}

startup_run() {
  local work=$1
  shift
  cd "$work/run" && exec env HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" \
    QT_QPA_PLATFORM=xcb "$@"
}

# What the summary says of the configuration the programs started with.
startup_config_said() {
  [ -z "$config$settings" ] || echo "configuration folder: a copy of ${config:-a folder holding $settings as sosudnik/sosudnik.conf}"
}
