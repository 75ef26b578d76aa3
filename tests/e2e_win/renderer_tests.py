"""The Windows backends' own tests and the offscreen renderer's pictures against Linux's.
"""
import os
import subprocess
import sys

from saver_harness import check
from wine_prefix import BUILD, ENV, HERE, WORK, wine

PIXEL_IDENTITY = os.path.join(HERE, "..", "..", "bench", "pixel_identity.py")
PIXEL_HASHES = os.path.join(HERE, "..", "e2e", "pixel_hashes.txt")


def test_backends_own_tests():
    """The Windows backends' GoogleTest program, in the same prefix (it needs no install)."""
    result = wine(os.path.join(BUILD, "tests", "win32", "test_win32.exe"), timeout=300)
    check(result.returncode == 0, "test_win32.exe failed:\n" + result.stdout[-3000:])


def test_renderer_pixels_match_linux():
    """vostrel-render.exe draws the very pictures whose hashes the Linux tests keep, over the
    stretch named in the hashes file's header."""
    with open(PIXEL_HASHES) as f:
        stretch = f.readline().split(":", 1)[1].split()
    wrapper = os.path.join(WORK.name, "vostrel-render")
    with open(wrapper, "w") as f:
        f.write('#!/bin/sh\nexec wine "%s" "$@"\n' % os.path.join(BUILD, "vostrel-render.exe"))
    os.chmod(wrapper, 0o755)
    # The renderer takes the frames' folder as a Unix path, which Wine reads on drive Z:.
    result = subprocess.run([sys.executable, "-B", PIXEL_IDENTITY, wrapper,
                             "--hashes", PIXEL_HASHES] + stretch,
                            env=ENV, cwd="/", stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            text=True, timeout=900)
    verdict = [line for line in result.stdout.splitlines()
               if not line.startswith("vostrel-render:")]  # its progress lines
    check(result.returncode == 0, "the pictures differ from Linux's:\n" + "\n".join(verdict))



TESTS = [test_backends_own_tests, test_renderer_pixels_match_linux]
