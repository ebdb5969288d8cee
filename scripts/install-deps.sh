#!/usr/bin/env bash
# Installs everything Quavermill needs to build, test, package and benchmark on Debian 12.
#   install-deps.sh          installs what is missing (apt-get is skipped when nothing is)
#   install-deps.sh --check  installs nothing; exits 0 when every package is installed, 1 when not
set -euo pipefail
packages=(
  g++ cmake pkg-config make ccache
  libmp3lame-dev libflac-dev libvorbis-dev libmpg123-dev libopusfile-dev
  libavformat-dev libavcodec-dev libswresample-dev
  qt6-base-dev libgl-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libgtest-dev libgmock-dev
  dpkg-dev file lintian appstream dbus-daemon shared-mime-info strace
  python3 python3-mutagen lame sox mpg123 ffmpeg flac vorbis-tools opus-tools
)

# True only when dpkg answers and calls every package "ii" (wanted, installed).
# A package dpkg has never heard of makes dpkg-query fail; one it knows but
# that is not installed shows as "un" or "rc"; a broken dpkg fails too. Each
# of these means apt-get must run, so only a complete "ii" list skips it.
all_installed() {
  local status
  status=$(dpkg-query -W --showformat='${db:Status-Abbrev}|${Package}\n' "${packages[@]}" 2>/dev/null) || return 1
  declare -A installed=()
  local line
  while IFS= read -r line; do
    if [[ $line == "ii "* ]]; then installed["${line#*|}"]=1; fi
  done <<<"$status"
  local package
  for package in "${packages[@]}"; do
    [[ -n ${installed[$package]:-} ]] || return 1
  done
}

if [ "${1:-}" = "--check" ]; then
  all_installed
  exit
fi
if all_installed; then exit 0; fi
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${packages[@]}"
