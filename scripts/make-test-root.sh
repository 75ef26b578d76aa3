#!/usr/bin/env bash
# Makes, once per machine, the Debian 13 system that the Wayland tests run the newer desktops
# in (sway 1.10, labwc, KWin 6, mutter 48, weston, cage), from the machine's own Debian
# archive: debootstrap's minimal variant plus those compositors and what the tests run inside
# it. The tests start a compositor inside this root and connect our programs, built on the
# machine itself, as its clients (scripts/wayland-session.sh --debian13). A root that holds
# today's package list is kept; a half-made one is made again, and one made for an older list
# gets what the list adds. Quiet when there is nothing to do.
#   make-test-root.sh [--print]   (--print: only print the root's folder, make nothing)
set -euo pipefail
# shellcheck source=scripts/apt-packages.sh
source "$(dirname "$0")/apt-packages.sh"

ROOT=/var/cache/vostrel-tests/debian13
RELEASE=trixie
# What the tests run inside the root: the compositors, the lock and screenshot tools that
# belong to them, and Debian 13's own lintian for the package built here.
# labwc's session sets its output with wlr-randr and draws its background with swaybg; the
# package's test runs its script inside the system, with Python and PIL.
PACKAGES=(sway swaylock grim labwc wlr-randr swaybg weston cage mutter kwin-wayland dbus lintian
  wayland-utils python3 python3-pil)
BASE="$ROOT/.base"  # debootstrap finished
READY="$ROOT/.ready"  # the packages of the list it holds are installed

if [ "${1:-}" = --print ]; then
  echo "$ROOT"
  exit 0
fi
wanted="$RELEASE ${PACKAGES[*]}"
if [ -f "$READY" ] && [ "$(cat "$READY")" = "$wanted" ]; then exit 0; fi
if [ "$(id -u)" -ne 0 ]; then
  echo "make-test-root.sh: making the Debian 13 test system needs root" >&2
  exit 1
fi
install_missing_packages debootstrap

# The archive this machine installs its own packages from serves every release.
# shellcheck disable=SC2016  # apt's own field syntax, not the shell's
mirror=$(apt-get indextargets --format '$(REPO_URI)' 'Identifier: Packages' |
  grep -v -- '-security' | head -n 1)
mirror=${mirror:-http://deb.debian.org/debian/}

started=$(date +%s)
export DEBIAN_FRONTEND=noninteractive
if [ ! -f "$BASE" ]; then
  echo "Making the Debian 13 system for the Wayland tests in $ROOT (a few minutes, once)"
  rm -rf "$ROOT"
  mkdir -p "$ROOT"
  debootstrap --variant=minbase "$RELEASE" "$ROOT" "$mirror" >"$ROOT.log" 2>&1 ||
    { cat "$ROOT.log" >&2; exit 1; }
  touch "$BASE"
else
  chroot "$ROOT" apt-get update -qq >>"$ROOT.log" 2>&1
fi
chroot "$ROOT" apt-get install -y -qq --no-install-recommends "${PACKAGES[@]}" >>"$ROOT.log" 2>&1 ||
  { tail -n 40 "$ROOT.log" >&2; exit 1; }
chroot "$ROOT" apt-get clean
echo "$wanted" >"$READY"
echo "Debian 13 test system ready in $(($(date +%s) - started)) s: $(du -sh "$ROOT" | cut -f1)"
