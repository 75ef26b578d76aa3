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

install_missing_packages() {  # package...
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt_as_root apt-get update -qq
  apt_as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
