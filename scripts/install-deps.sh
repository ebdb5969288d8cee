#!/usr/bin/env bash
# Installs everything Quavermill needs to build, test, package and benchmark on Debian 12.
set -euo pipefail
packages=(
  g++ cmake pkg-config make ccache
  libmp3lame-dev libflac-dev libvorbis-dev libmpg123-dev libopusfile-dev
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev
  dpkg-dev file lintian appstream dbus-daemon
  python3 python3-mutagen lame sox mpg123 ffmpeg flac vorbis-tools opus-tools
)
# When every package is there already, apt-get (and its download of the
# package lists) is skipped.
if ! dpkg-query -W -f='${db:Status-Abbrev}\n' "${packages[@]}" 2>&1 | grep -qv '^ii '; then exit 0; fi
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${packages[@]}"
