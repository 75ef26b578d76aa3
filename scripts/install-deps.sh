#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Quiet and quick when everything is already there; uses sudo when not root.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config clang-format
  libgtest-dev libgmock-dev
  libx11-dev libxrandr-dev libxrender-dev libxss-dev libgl-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  libgtk-3-dev libfontconfig-dev libfreetype-dev libjpeg62-turbo-dev libpng-dev libgif-dev
  libsdl2-dev libasound2-dev libopenmpt-dev libmpg123-dev libcdio-paranoia-dev libmp3lame-dev
  xvfb xauth xdotool x11-utils libxfixes3 xscreensaver
  python3 python3-numpy python3-pil python3-fonttools python3-shapely
  fonts-dejavu-core
  apitrace  # bench/driver_replay.py replays the renderer's GL calls
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing missing packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
