"""The Windows saver as a user gets it, under Wine: one fresh prefix, the installer run silently
into it, then every test module's tests in the order listed here, and the uninstaller last.
Run under an X server (xvfb-run) with the build folder as the first argument; any further
arguments keep only the tests whose names contain one of them (the installs and the uninstall
always run, so each test meets the saver installed).
"""
import subprocess
import sys

from wine_prefix import ENV, WORK  # first: it makes the shared e2e helpers importable
import audio_tests
import dialog_tests
import install_tests
import renderer_tests
import saver_tests
from saver_harness import run_tests

MODULES = [renderer_tests, saver_tests, audio_tests, dialog_tests]


def chosen(tests, words):
    return [test for test in tests if not words or any(word in test.__name__ for word in words)]


if __name__ == "__main__":
    words = sys.argv[2:]
    tests = [test for module in MODULES for test in chosen(module.TESTS, words)]
    status = run_tests([install_tests.test_silent_install] + tests
                       + [install_tests.test_pages_reinstall_over_an_install,
                          install_tests.test_uninstall_leaves_only_settings]
                         + chosen(install_tests.AFTER_UNINSTALL, words))
    subprocess.run(["wineserver", "-k"], env=ENV)
    WORK.cleanup()
    sys.exit(status)
