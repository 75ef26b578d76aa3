#!/usr/bin/env bash
# Cross-builds, statically, the libraries that Debian ships for mingw-w64 only as sources:
# zlib, libjpeg-turbo, libpng, FreeType, mpg123 and libopenmpt, and GoogleTest for the tests
# of the Windows backends, from pinned Debian source packages, into BUILD_WIN_DIR/deps/prefix.
#
# The sources come through apt, and every file is checked against the SHA256 that the signed
# Sources index gives for it. A library whose stamp (its version and its recipe) is there is
# skipped, so a second run costs seconds; change a version or a recipe and that library and
# the ones that link it are built again.
#
# Usage: scripts/build-windows-libs.sh BUILD_WIN_DIR    (JOBS=1 for a busier machine)
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: $0 BUILD_WIN_DIR" >&2; exit 2; }
mkdir -p "$1"
BUILD_WIN_DIR=$(cd "$1" && pwd)
SOURCE_ROOT=$(cd "$(dirname "$0")/.." && pwd)
DEPS="$BUILD_WIN_DIR/deps"
SRC="$DEPS/src"
WORK="$DEPS/build"
PREFIX="$DEPS/prefix"
STAMPS="$DEPS/stamps"
LOGS="$DEPS/logs"
JOBS="${JOBS:-2}"
HOST=x86_64-w64-mingw32
TOOLCHAIN="$SOURCE_ROOT/cmake/toolchain-mingw64.cmake"

# Package, pinned version (the ones this mirror serves), recipe, and the packages it links,
# which come before it.
LIBRARIES=(
  "zlib 1:1.2.13.dfsg-1 build_zlib"
  "libjpeg-turbo 1:2.1.5-2 build_libjpeg"
  "libpng1.6 1.6.39-2+deb12u5 build_libpng zlib"
  "freetype 2.12.1+dfsg-5+deb12u4 build_freetype zlib"
  "mpg123 1.31.2-1+deb12u1 build_mpg123"
  "libopenmpt 0.6.9-1 build_libopenmpt"
  "googletest 1.12.1-0.2 build_googletest"
)

cmake_build() {  # source build-dir [cmake options...]
  local source=$1 build=$2
  shift 2
  cmake -S "$source" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DVOSTREL_WIN_DEPS="$PREFIX" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" "$@"
}

# Debian's zlib lacks win32/zlib1.rc, which the DLL needs, so only the static library is built.
build_zlib() {
  cmake_build "$1" "$2"
  ninja -j "$JOBS" -C "$2" zlibstatic
  mkdir -p "$PREFIX/lib" "$PREFIX/include"
  cp "$2/libzlibstatic.a" "$PREFIX/lib/libz.a"
  cp "$2/zconf.h" "$1/zlib.h" "$PREFIX/include/"
}

# Its SIMD code would need nasm; the saver decodes eight small pictures once.
build_libjpeg() {
  cmake_build "$1" "$2" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF
  ninja -j "$JOBS" -C "$2" jpeg-static
  ninja -j "$JOBS" -C "$2" install
}

build_libpng() {
  cmake_build "$1" "$2" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_LIBRARY="$PREFIX/lib/libz.a" -DZLIB_INCLUDE_DIR="$PREFIX/include"
  ninja -j "$JOBS" -C "$2" install
}

# With its own zlib disabled FreeType compiles a private inflate, whose symbols then clash with
# libz.a at the program's link; so it takes ours.
build_freetype() {
  cmake_build "$1" "$2" -DBUILD_SHARED_LIBS=OFF -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_BROTLI=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_PNG=ON -DFT_REQUIRE_ZLIB=ON \
    -DZLIB_LIBRARY="$PREFIX/lib/libz.a" -DZLIB_INCLUDE_DIR="$PREFIX/include"
  ninja -j "$JOBS" -C "$2" install
}

autotools_build() {  # source build-dir [configure options...]
  local source=$1 build=$2
  shift 2
  mkdir -p "$build"
  (cd "$build" && "$source/configure" --host=$HOST --prefix="$PREFIX" --disable-shared \
    --enable-static CC=$HOST-gcc-posix CXX=$HOST-g++-posix CFLAGS=-O2 CXXFLAGS=-O2 "$@" &&
    make -j "$JOBS" && make install)
}

# The saver decodes only; the programs come along because configure cannot leave them out.
build_mpg123() {
  autotools_build "$1" "$2" --disable-modules --with-audio=dummy --with-default-audio=dummy
}

# -O2 without -g: the debug information would make the library 130 MB and the build slower.
build_libopenmpt() {
  autotools_build "$1" "$2" --disable-openmpt123 --disable-examples --disable-tests \
    --disable-doxygen-doc --without-mpg123 --without-ogg --without-vorbis --without-vorbisfile \
    --without-portaudio --without-portaudiocpp --without-pulseaudio --without-sndfile \
    --without-flac --without-zlib
}

build_googletest() {
  cmake_build "$1" "$2" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON
  ninja -j "$JOBS" -C "$2" install
}

# The stamp changes with the version, the recipe, the tools every recipe shares and the stamps
# of the libraries it links.
declare -A STAMP_KEYS
stamp_key() {  # package version recipe [linked package...]
  local package=$1 version=$2 recipe=$3 linked
  shift 3
  {
    echo "$package $version"
    for linked in "$@"; do echo "${STAMP_KEYS[$linked]}"; done
    declare -f "$recipe" cmake_build autotools_build
    cat "$TOOLCHAIN"
  } | sha256sum | cut -c1-16
}

# apt checks the Sources index's signature and each file's hash as it downloads, but this
# mirror lacks some upstream signatures (.asc), and then apt stops without saying which files it
# did check. So every file is checked here against the index's hash; only a missing .asc is
# tolerated.
fetch_sources() {  # package version -> sets FETCHED (file names) and FETCHED_COMPLETE
  local package=$1 version=$2 listing name sha
  listing=$(apt-get source --print-uris "$package=$version" 2>/dev/null | grep "^'" || true)
  [ -n "$listing" ] ||
    { echo "$package=$version: no source (scripts/install-windows-deps.sh adds deb-src)" >&2; return 1; }
  mkdir -p "$SRC"
  chown _apt "$SRC" 2>/dev/null || true
  (cd "$SRC" && apt-get source -qq --download-only "$package=$version" >/dev/null 2>&1) || true
  FETCHED=()
  FETCHED_COMPLETE=1
  while read -r _ name _ sha; do
    if [ ! -f "$SRC/$name" ]; then
      [[ $name == *.asc ]] || { echo "$package: $name was not downloaded" >&2; return 1; }
      FETCHED_COMPLETE=0
      continue
    fi
    echo "${sha#SHA256:}  $SRC/$name" | sha256sum --quiet -c - ||
      { echo "$package: $name does not match the signed index" >&2; return 1; }
    FETCHED+=("$name")
  done <<<"$listing"
}

# dpkg-source checks the files against the .dsc and applies Debian's patches. When an upstream
# signature is missing it refuses the package, so that one is unpacked by hand the same way:
# the orig tarball, the debian folder, the patch series.
unpack_sources() {  # dest
  local dest=$1 name
  rm -rf "$dest"
  mkdir -p "$(dirname "$dest")"
  if [ "$FETCHED_COMPLETE" = 1 ]; then
    dpkg-source -x "$SRC/$(printf '%s\n' "${FETCHED[@]}" | grep '\.dsc$')" "$dest"
    return
  fi
  mkdir -p "$dest"
  for name in "${FETCHED[@]}"; do
    case $name in
      *.orig.tar.*) tar -xf "$SRC/$name" -C "$dest" --strip-components=1 ;;
      *.debian.tar.*) tar -xf "$SRC/$name" -C "$dest" ;;
    esac
  done
  [ -f "$dest/debian/patches/series" ] || return 0
  grep -v '^[[:space:]]*#' "$dest/debian/patches/series" | while read -r name _; do
    [ -z "$name" ] || patch -d "$dest" -p1 -s <"$dest/debian/patches/$name"
  done
}

build_library() {  # package version recipe [linked package...]
  local package=$1 version=$2 recipe=$3 key started log
  key=$(stamp_key "$@")
  STAMP_KEYS[$package]=$key
  if [ -f "$STAMPS/$package.$key" ]; then
    printf '%-14s %-28s cached\n' "$package" "$version"
    return
  fi
  started=$(date +%s)
  log="$LOGS/$package.log"
  mkdir -p "$STAMPS" "$LOGS"
  rm -f "$STAMPS/$package".*
  # In the background so that set -e holds inside: in an if or || it would be switched off.
  (
    fetch_sources "$package" "$version"
    unpack_sources "$WORK/$package-src"
    rm -rf "${WORK:?}/$package"
    "$recipe" "$WORK/$package-src" "$WORK/$package"
  ) >"$log" 2>&1 &
  if ! wait $!; then
    echo "$package $version: build failed; the end of $log:" >&2
    tail -n 20 "$log" >&2
    exit 1
  fi
  touch "$STAMPS/$package.$key"
  printf '%-14s %-28s built in %d s\n' "$package" "$version" $(($(date +%s) - started))
}

for library in "${LIBRARIES[@]}"; do
  # shellcheck disable=SC2086
  build_library $library
done
