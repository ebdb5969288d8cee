#!/usr/bin/env bash
# Installs everything Quavermill needs to build, test, package and benchmark on Debian 12.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends \
  g++ cmake pkg-config make \
  libmp3lame-dev libflac-dev libvorbis-dev libmpg123-dev libopusfile-dev \
  qt6-base-dev libgl-dev \
  libgtest-dev libgmock-dev \
  dpkg-dev file \
  python3 python3-mutagen lame sox mpg123 ffmpeg flac vorbis-tools opus-tools
