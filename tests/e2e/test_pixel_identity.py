"""The show is exact to the pixel: a short stretch (the white-out, the sun growing, the flash's
eve and the first blast frame, every 100th frame at each detail level) must give the very
pictures whose hashes are kept in pixel_hashes.txt. A change that means to alter the picture
rewrites them with the command printed on failure; any other change must leave them alone."""
import os
import subprocess
import sys

from saver_harness import BUILD_DIR, RENDER

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPT = os.path.join(HERE, "..", "..", "bench", "pixel_identity.py")
STRETCH = ["--frames", "4900-6100", "--every", "100", "--size", "160x120", "--set", "matrox=1"]
HASHES = os.path.join(HERE, "pixel_hashes.txt")

result = subprocess.run([sys.executable, SCRIPT, RENDER, "--hashes", HASHES] + STRETCH)
if result.returncode != 0:
    print("If the picture was meant to change, rewrite the kept hashes with:\n  python3 "
          f"bench/pixel_identity.py {os.path.relpath(RENDER)} --hashes {HASHES} --update "
          + " ".join(STRETCH))
sys.exit(result.returncode)
