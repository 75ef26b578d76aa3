#!/usr/bin/env bash
# Runs one build's tests under a private X server, with a home folder of their own:
#   scripts/run-tests.sh BUILD_DIR LABEL SUMMARY_FILE [CTEST_LABEL]
# (with CTEST_LABEL, only the tests of that test folder, such as "audio"). TEST_JOBS says how
# many run at once (all cores unless told).
# The tests, the programs they start and the libraries those load (GTK's settings cache, a
# sound server, the saver's own state) write below HOME and the XDG folders; pointing them all
# at a fresh folder keeps the user's home as it was, and every run starts from the same
# empty one. Appends "LABEL: N tests passed in S s" to SUMMARY_FILE when all pass.
set -uo pipefail
build="$1"
label="$2"
summary="$3"
only=()
[ $# -ge 4 ] && only=(-L "^$4\$")

home="$(mktemp -d "${TMPDIR:-/tmp}/vostrel-test-home.XXXXXX")"
trap 'rm -rf "$home"' EXIT
for folder in config state cache data runtime; do mkdir -m 700 "$home/$folder"; done
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_STATE_HOME="$home/state" \
    XDG_CACHE_HOME="$home/cache" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime"

# The programs choose Wayland whenever WAYLAND_DISPLAY names a compositor: the tests' own X
# server is theirs only without it (the Wayland tests start compositors of their own).
unset WAYLAND_DISPLAY

started=$(date +%s)
cd "$build" || exit 1
xvfb-run -a -s "-screen 0 1280x1024x24 +extension GLX +render -noreset" \
    ctest --output-on-failure -j "${TEST_JOBS:-$(nproc)}" "${only[@]}" | tee "$home/ctest.log"
status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] || exit "$status"
passed=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$home/ctest.log")
echo "$label: ${passed:-?} tests passed in $(($(date +%s) - started)) s" >>"$summary"
