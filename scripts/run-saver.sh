#!/usr/bin/env bash
# Starts the saver on the current display; without a display, renders key frames to PNG.
set -euo pipefail
build="${1:-build}"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$build/vostrel" /s
fi
out="$build/frames"
# One argument: the renderer takes its frames as a comma-separated list.
# shellcheck disable=SC2054
render=("$build/vostrel-render" --frames 100,2500,4000,4999,5300,5990,6010,6300,7500,9300
  --size 640x480 --out "$out")
echo "No X display is available (DISPLAY is unset or unreachable), so the saver cannot open its window."
echo "Rendering the show's key frames offscreen instead:"
echo "    ${render[*]}"
"${render[@]}"
echo "Key frames written to $out/ (frame-NNNNN.png)."
