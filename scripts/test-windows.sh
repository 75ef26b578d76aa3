#!/usr/bin/env bash
# The Windows saver's end-to-end tests under Wine:
#   scripts/test-windows.sh BUILD_DIR [STARTED [WORD...]]
# installs, runs and uninstalls the saver built in BUILD_DIR (`make windows` has run before
# this) in a fresh Wine prefix under a private X server, and says how long the whole Windows
# part took since STARTED (seconds since the epoch; now, unless told). WORDs keep only the tests
# whose names contain one of them. With SUMMARY set to a file, appends
# "Windows (Wine): N tests passed in S s" to it when all pass.
set -uo pipefail
build="${1:-build-win}"
started="${2:-$(date +%s)}"
shift $(($# < 2 ? $# : 2))
here="$(cd "$(dirname "$0")/.." && pwd)"
log="$(mktemp "${TMPDIR:-/tmp}/vostrel-wine-tests.XXXXXX")"
trap 'rm -f "$log"' EXIT

echo "== Windows tests (Wine) =="
xvfb-run -a -s "-screen 0 1024x768x24 +extension GLX -noreset" \
  /usr/bin/python3 -B "$here/tests/e2e_win/run_windows_tests.py" "$build" "$@" | tee "$log"
status=${PIPESTATUS[0]}
seconds=$(($(date +%s) - started))
echo "Windows build and tests: $seconds s"
if [ "$status" -eq 0 ] && [ -n "${SUMMARY:-}" ]; then
  echo "Windows (Wine): $(grep -c '^PASS ' "$log") tests passed in $seconds s (the build included)" \
    >>"$SUMMARY"
fi
exit "$status"
