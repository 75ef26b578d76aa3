#!/usr/bin/env bash
# The Windows saver's end-to-end tests under Wine: builds it (`make windows` has run before this
# in the Makefile's target), then installs, runs and uninstalls it in a fresh Wine prefix under
# a private X server, and says how long the whole Windows part took since `started`. Words after
# those two keep only the tests whose names contain one of them.
set -euo pipefail
build="${1:-build-win}"
started="${2:-$(date +%s)}"
shift $(( $# < 2 ? $# : 2 ))
here="$(cd "$(dirname "$0")/.." && pwd)"

echo "== Windows tests (Wine) =="
status=0
xvfb-run -a -s "-screen 0 1024x768x24 +extension GLX" \
  /usr/bin/python3 -B "$here/tests/e2e_win/run_windows_tests.py" "$build" "$@" || status=$?
echo "Windows build and tests: $(( $(date +%s) - started )) s"
exit "$status"
