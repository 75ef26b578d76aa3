#!/usr/bin/env bash
# The check for an everyday edit: the incremental Release build, failing on any warning, every
# unit-test program (each whole, in a shuffled order), the include and format checks and the
# quick end-to-end scripts (the tests labelled "quick"), under the private X server of
# scripts/run-tests.sh. The last line says how long it all took, the build included.
#   scripts/check.sh [BUILD_DIR]
set -uo pipefail
build="${1:-build}"
started=$(date +%s)
summary="$(mktemp)"
log="$(mktemp)"
trap 'rm -f "$summary" "$log"' EXIT
# The flags of `make run` and `make test`, so that switching between them rebuilds nothing; a
# warning in what this build compiled still fails the check.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVOSTREL_WERROR=OFF >/dev/null || exit 1
cmake --build "$build" -j "$(nproc)" 2>&1 | tee "$log"
[ "${PIPESTATUS[0]}" -eq 0 ] || exit 1
if grep -q "warning:" "$log"; then echo "make check: the build gave warnings" >&2; exit 1; fi
bash scripts/run-tests.sh "$build" "Check" "$summary" quick || exit 1
cat "$summary"
echo "make check: $(($(date +%s) - started)) s in all"
