#!/usr/bin/env bash
# The check for an everyday edit: the incremental Release build with warnings as errors, every
# unit-test program, the include and format checks and the quick end-to-end scripts (the
# tests labelled "quick"), under the private X server of scripts/run-tests.sh. The last line
# says how long it all took, the build included.
#   scripts/check.sh [BUILD_DIR]
set -uo pipefail
build="${1:-build}"
started=$(date +%s)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVOSTREL_WERROR=ON >/dev/null || exit 1
cmake --build "$build" -j "$(nproc)" || exit 1
summary="$(mktemp)"
trap 'rm -f "$summary"' EXIT
bash scripts/run-tests.sh "$build" "Check" "$summary" quick || exit 1
cat "$summary"
echo "make check: $(($(date +%s) - started)) s in all"
