#!/usr/bin/env bash
# The README's two commands on a machine that has nothing yet (a fresh Debian 12 or 13):
# installs make, the one program the Makefile cannot install for itself, then runs
# `make ARGS`, whose own first step installs the rest.
#   ./setup.sh run | test | ...
set -euo pipefail
cd "$(dirname "$0")"
# shellcheck source=scripts/apt-packages.sh
source scripts/apt-packages.sh
install_missing_packages make
exec make "$@"
