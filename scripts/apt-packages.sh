# shellcheck shell=bash
# Shared by the install scripts (sourced, not run): the packages several builds need, and the
# one way of installing what is missing. Quiet and quick when everything is there; sudo when
# not root.

# The data folder's generators, which every build runs on the build machine.
# shellcheck disable=SC2034  # used by the scripts that source this file
DATA_GENERATOR_PACKAGES=(python3 python3-numpy python3-pil python3-fonttools python3-shapely)

# Runs apt-get as root.
apt_as_root() {
  if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi
}

# A stock Debian installed with a root password has no sudo: the user is told the one command
# to run as root instead of meeting "sudo: command not found".
can_become_root() {
  [ "$(id -u)" -eq 0 ] || command -v sudo >/dev/null 2>&1
}

install_missing_packages() {  # package...
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if ! can_become_root; then
    echo "These packages are missing: ${missing[*]}" >&2
    echo "Installing them needs root, and sudo is not installed. As root (for example after" >&2
    echo "'su -'), run this, then run the same make command again:" >&2
    echo "    apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing missing packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt_as_root apt-get update -qq
  apt_as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
