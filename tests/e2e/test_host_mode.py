"""The hack as a screen-saver host runs it: drawing inside the host's window, holding no grab,
and ending on the host's SIGTERM with status 0, its window gone and no file left behind."""
import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from saver_harness import (BUILD_DIR, WAIT, Sandbox, check, child_windows,  # noqa: E402
                           run_tests, wait_for, wait_for_exit)
from x_windows import XConnection  # noqa: E402

HACK = os.path.join(BUILD_DIR, "vostrel-hack")
SETTLE = 1.0  # seconds for the show to be under way before the host ends it


def private_folders(sandbox):
    """The runtime and temporary folders the hack gets, empty."""
    folders = [os.path.join(sandbox.root, name) for name in ("runtime", "tmp")]
    for folder in folders:
        os.makedirs(folder, mode=0o700)
    return folders


def test_sigterm_ends_cleanly():
    sandbox = Sandbox()
    runtime, tmp = private_folders(sandbox)
    env = sandbox.env()
    env.update(XDG_RUNTIME_DIR=runtime, TMPDIR=tmp)
    connection = XConnection()
    host = connection.create_window(0, 0, 320, 240)
    process = subprocess.Popen([HACK, "-window-id", str(host)], env=env,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    try:
        wait_for(lambda: child_windows(host), "the hack's window in the host's")
        time.sleep(SETTLE)
        check(process.poll() is None, "the hack ended by itself")
        check(connection.keyboard_grabbable(), "the hack holds the keyboard")
        process.send_signal(signal.SIGTERM)
        wait_for_exit(process)
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
    check(not child_windows(host), "the hack's window outlived it")
    check(sandbox.boxes() == [], "boxes: %r" % sandbox.boxes())
    left = [f for folder in (runtime, tmp) for f in os.listdir(folder)]
    check(left == [], "left behind: %r" % left)
    connection.destroy(host)
    connection.close()
    sandbox.close()


def test_bad_arguments_get_usage():
    for args, environment in ((["-window-id", "nope"], None), ([], None), (["/s"], None),
                              (["-root"], "scrprev")):
        env = dict(os.environ)
        env.pop("XSCREENSAVER_WINDOW", None)
        if environment is not None:
            env["XSCREENSAVER_WINDOW"] = environment
        result = subprocess.run([HACK] + args, env=env, stderr=subprocess.PIPE, text=True,
                                timeout=WAIT)
        check(result.returncode == 2 and "usage: vostrel-hack" in result.stderr,
              "%r: status %d, %r" % (args, result.returncode, result.stderr))


if __name__ == "__main__":
    sys.exit(run_tests([test_sigterm_ends_cleanly, test_bad_arguments_get_usage]))
