#!/usr/bin/env bash
# Says what `make windows` made: the saver when it links, each layer's library, the data folder,
# the installer.
set -euo pipefail
build="${1:-build-win}"

echo "== Windows build in $build =="
if [ -f "$build/vostrel.scr" ]; then
  echo "  saver:     $build/vostrel.scr ($(du -h "$build/vostrel.scr" | cut -f1))"
else
  echo "  saver:     missing"
fi
for library in "$build"/src/libvostrel_*.a; do
  printf '  library:   %s (%s)\n' "$library" "$(du -h "$library" | cut -f1)"
done
echo "  data:      $build/data ($(find "$build/data" -type f | wc -l) files)"
echo "  tests:     $build/tests/win32/test_win32.exe (run it on Windows or with wine)"
if [ -f "$build/vostrel-setup.exe" ]; then
  echo "  installer: $build/vostrel-setup.exe ($(du -h "$build/vostrel-setup.exe" | cut -f1))"
fi
