#!/bin/sh
# The preview's host destroys its window at a random moment, many times over (100 unless a
# count is given), against the Release build, under a private X server. `make test` runs a
# shorter loop of the same test.
set -e
cd "$(dirname "$0")/.."
export VOSTREL_RACE_RUNS="${1:-100}"
export VOSTREL_BUILD_DIR="${VOSTREL_BUILD_DIR:-$PWD/build}"
exec xvfb-run -a -s "-screen 0 1280x1024x24 +extension GLX +render -noreset" \
    timeout 1800 python3 tests/e2e/test_hostile_world.py test_host_destroys_window_at_random_moments
