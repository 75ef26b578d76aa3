#!/usr/bin/env bash
# Installs the Debian 12 packages that building and running need; with --tests, also those
# that only the tests use (sound servers and desktops that the tests start by themselves), so
# that `make run` leaves a user's desktop as it is.
# Quiet and quick when everything is already there; uses sudo when not root.
set -euo pipefail
# shellcheck source=scripts/apt-packages.sh
source "$(dirname "$0")/apt-packages.sh"

PACKAGES=(
  build-essential cmake pkg-config clang-format-19
  libgtest-dev libgmock-dev
  libx11-dev libxext-dev libxrandr-dev libxrender-dev libxss-dev libgl-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  libwayland-dev wayland-protocols libxkbcommon-dev
  libgtk-3-dev libgtk-layer-shell-dev libfontconfig-dev libfreetype-dev libjpeg62-turbo-dev libpng-dev libgif-dev
  libsdl2-dev libasound2-dev libopenmpt-dev libmpg123-dev libcdio-paranoia-dev libmp3lame-dev
  xvfb xauth xdotool x11-utils libxfixes3 xscreensaver
  "${DATA_GENERATOR_PACKAGES[@]}"
  fonts-dejavu-core
  apitrace  # bench/driver_replay.py replays the renderer's GL calls
)

TEST_PACKAGES=(
  sway grim mutter kwin-wayland dbus python3-gi  # headless Wayland desktops for the Wayland saver's tests
  dex  # runs the user's autostart entries at a headless sway session's log-in
  lintian  # the package test holds the .deb to Debian's own checks
  strace  # shows which sockets vostrel-idle connects to
)
# A real sound server that the audio tests start and freeze. Where PipeWire's PulseAudio server
# is installed, installing PulseAudio would replace it, so the desktop's sound is left alone and
# that test says it cannot run.
if ! dpkg-query -W -f='${Status}' pipewire-pulse 2>/dev/null | grep -q 'install ok installed'; then
  TEST_PACKAGES+=(pulseaudio)
fi

if [ "${1:-}" = --tests ]; then PACKAGES+=("${TEST_PACKAGES[@]}"); fi
install_missing_packages "${PACKAGES[@]}"
# The newer desktops the Wayland tests also run on, in a Debian 13 system of their own; made
# where the tests can use it (as root, which their namespaces need).
if [ "${1:-}" = --tests ] && [ "$(id -u)" -eq 0 ]; then
  bash "$(dirname "$0")/make-test-root.sh"
fi
