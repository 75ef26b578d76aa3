"""Run by tests/e2e/test_package.py inside Debian 13's system with the package installed there
by apt (scripts/wayland-session.sh --debian13 --sway --install): Debian 13's lintian finds no
error in the package, and the installed saver, started as a user starts it (default settings,
no sound device) on Debian 13's sway, shows the music's box over the show; Return answers it,
the show covers the output and moves, and a key ends it with status 0."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from saver_harness import check, run_tests  # noqa: E402
from wayland_clients import Input  # noqa: E402
from wayland_saver import KEY_SPACE, Saver, check_covered_and_moving  # noqa: E402

INPUT = Input()


def test_lintian_finds_no_error():
    lint = subprocess.run(["lintian", "--fail-on", "error", os.environ["INSTALLED_PACKAGE"]],
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    print(lint.stdout, end="")
    check(lint.returncode == 0, "lintian found errors")


def test_installed_saver_runs():
    saver = Saver(INPUT, program="/usr/bin/vostrel")
    try:
        saver.answer_the_box()
        check_covered_and_moving()
        INPUT("keys %d" % KEY_SPACE)
        saver.ends()
    finally:
        saver.close()


if __name__ == "__main__":
    sys.exit(run_tests([test_lintian_finds_no_error, test_installed_saver_runs]))
