#!/usr/bin/env bash
# Installs the Debian 12 packages that building the Windows saver needs, and lets apt fetch
# source packages (deb-src) from the mirror the system already uses, since the libraries that
# Debian does not ship for mingw-w64 are cross-built from Debian's own sources.
# Quiet and quick when everything is already there; uses sudo when not root.
set -euo pipefail
# shellcheck source=scripts/apt-packages.sh
source "$(dirname "$0")/apt-packages.sh"

PACKAGES=(
  # The posix thread variant: the win32 one has no std::thread or std::mutex.
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev mingw-w64-tools
  cmake ninja-build make patch dpkg-dev xz-utils bzip2
  nsis
  wine wine64 libwine fonts-wine
  # make test-windows: a private X server, and input and the screen through libX11 (XTest, XFixes).
  xvfb xauth xdotool python3 libx11-6 libxtst6 libxfixes3
  # ... and its sound tests: the module's length, and an MP3 encoded at test time.
  libopenmpt0 libmp3lame0
  "${DATA_GENERATOR_PACKAGES[@]}"
)

SOURCES_DIR=/etc/apt/sources.list.d

has_deb_src() {
  grep -rqsE '^(deb-src[[:space:]]|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/
}

# The deb-src twin of Debian's own binary sources: debian.sources on a Debian 12 system,
# sources.list on one upgraded from an older release.
add_deb_src() {
  local debian=/etc/apt/sources.list.d/debian.sources
  echo "Adding deb-src lines for the configured Debian mirror"
  if [ -f "$debian" ]; then
    grep -vE '^[[:space:]]*#' "$debian" | sed 's/^Types:[[:space:]]*deb$/Types: deb-src/' |
      apt_as_root tee "$SOURCES_DIR/vostrel-deb-src.sources" >/dev/null
  else
    sed -n 's/^deb[[:space:]]/deb-src /p' /etc/apt/sources.list |
      apt_as_root tee "$SOURCES_DIR/vostrel-deb-src.list" >/dev/null
  fi
  apt_as_root apt-get update -qq
}

install_missing_packages "${PACKAGES[@]}"
has_deb_src || add_deb_src
# A source list added by hand may not have been fetched yet.
if [ -z "$(apt-cache showsrc zlib 2>/dev/null)" ]; then apt_as_root apt-get update -qq; fi
