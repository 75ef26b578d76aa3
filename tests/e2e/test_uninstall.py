"""`cmake --install` then the `uninstall` target, as a user undoes an install from source: every
file goes, every folder the install made goes, and a folder that was there before stays, even
when it is empty (as /usr/local/bin is on a fresh system)."""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(__file__))
from saver_harness import BUILD_DIR, check, run_tests  # noqa: E402

KEPT = ["share", "share/man", "bin"]  # there before the install, empty


def tree(root):
    return sorted(os.path.relpath(os.path.join(folder, name), root)
                  for folder, folders, files in os.walk(root) for name in folders + files)


def test_uninstall_leaves_what_was_there():
    with tempfile.TemporaryDirectory(prefix="vostrel-uninstall-") as root:
        prefix = os.path.join(root, "prefix")
        for folder in KEPT:
            os.makedirs(os.path.join(prefix, folder))
        subprocess.run(["cmake", "--install", BUILD_DIR, "--prefix", prefix], check=True,
                       stdout=subprocess.DEVNULL, timeout=300)
        check(len(tree(prefix)) > 40, "installed: %r" % tree(prefix))
        subprocess.run(["cmake", "--build", BUILD_DIR, "--target", "uninstall"], check=True,
                       stdout=subprocess.DEVNULL, timeout=300)
        check(tree(prefix) == sorted(KEPT), "left: %r" % tree(prefix))


if __name__ == "__main__":
    sys.exit(run_tests([test_uninstall_leaves_what_was_there]))
