#!/usr/bin/env bash
# The Windows saver's end-to-end tests under Wine: builds it (`make windows` has run before this
# in the Makefile's target), then installs, runs and uninstalls it in a fresh Wine prefix under
# a private X server, and says how long the whole Windows part took since `started`.
set -euo pipefail
build="${1:-build-win}"
started="${2:-$(date +%s)}"
here="$(cd "$(dirname "$0")/.." && pwd)"

echo "== Windows tests (Wine) =="
status=0
xvfb-run -a -s "-screen 0 1024x768x24 +extension GLX" \
  /usr/bin/python3 -B "$here/tests/e2e_win/test_install_and_run.py" "$build" || status=$?
echo "Windows build and tests: $(( $(date +%s) - started )) s"
exit "$status"
