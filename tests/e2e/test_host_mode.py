"""The hack as a screen-saver host runs it: drawing inside the host's window, holding no grab,
and ending on the host's SIGTERM with status 0, its window gone and no file left behind; a
failure the host must see (no window to draw in) as a non-zero status; and, with one copy per
monitor, sound from the first copy only."""
import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from saver_harness import (BUILD_DIR, WAIT, Sandbox, check, child_windows,  # noqa: E402
                           kill_if_running, run_tests, wait_for, wait_for_exit)
from x_windows import XConnection  # noqa: E402

HACK = os.path.join(BUILD_DIR, "vostrel-hack")
SETTLE = 1.0  # seconds for the show to be under way before the host ends it
NO_SUCH_WINDOW = "0x3fffff"  # the last id of the first client's range: never made here
# Bangs only, from a start 200 frames before the sun, whose rays bring a bang every 20 frames.
BANGS_ONLY = '"psound"=dword:00000001\n"pmusic"=dword:00000000\n"matrox"=dword:00000001\n'
MORE_BANGS = 2.0  # seconds the copies run on after the first copy's first bang


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
        kill_if_running(process)
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


def test_no_window_to_draw_in_is_a_failure():
    # (arguments, XSCREENSAVER_WINDOW, DISPLAY): an id naming no window, from either source,
    # and a display that cannot be reached.
    cases = [(["-window-id", NO_SUCH_WINDOW], None, None),
             (["-root"], NO_SUCH_WINDOW, None),
             (["-window-id", "0x200001"], None, ":4093")]
    for args, environment, display in cases:
        sandbox = Sandbox()
        env = sandbox.env()
        env.pop("XSCREENSAVER_WINDOW", None)
        if environment is not None:
            env["XSCREENSAVER_WINDOW"] = environment
        if display is not None:
            env["DISPLAY"] = display
        result = subprocess.run([HACK] + args, env=env, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, timeout=WAIT)
        # Inside a host's window nobody could answer a box: it goes to standard error.
        stderr = result.stderr.decode(errors="replace")
        check(result.returncode != 0, "%r %r %r: status 0" % (args, environment, display))
        check(stderr.count("Can't Create Window.") == 1 and sandbox.boxes() == [],
              "%r: %r, boxes %r" % (args, stderr, sandbox.boxes()))
        sandbox.close()


def capture_has_sound(path):
    if not os.path.exists(path):
        return False
    with open(path, "rb") as f:
        return any(f.read())


def test_only_the_first_copy_sounds():
    sandbox = Sandbox()
    sandbox.write_user_settings(BANGS_ONLY)
    connection = XConnection()
    captures, copies, hosts = [], [], []
    try:
        for monitor in range(2):
            hosts.append(connection.create_window(monitor * 330, 0, 320, 240))
            captures.append(os.path.join(sandbox.root, "output%d.raw" % monitor))
            env = dict(sandbox.env(), SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=captures[-1])
            copies.append(subprocess.Popen([HACK, "-window-id", str(hosts[-1])], env=env,
                                           stdout=subprocess.PIPE, stderr=subprocess.PIPE))
            # The first copy claims the sound before it makes its window.
            wait_for(lambda: child_windows(hosts[-1]), "copy %d's window" % monitor)
        wait_for(lambda: capture_has_sound(captures[0]), "the first copy's first bang")
        time.sleep(MORE_BANGS)
        check(all(copy.poll() is None for copy in copies), "a copy ended by itself")
        check(not capture_has_sound(captures[1]), "the second copy made a sound")
        for copy in copies:
            copy.send_signal(signal.SIGTERM)
            wait_for_exit(copy)
    finally:
        for copy in copies:
            kill_if_running(copy)
    for host in hosts:
        connection.destroy(host)
    connection.close()
    sandbox.close()


if __name__ == "__main__":
    sys.exit(run_tests([test_sigterm_ends_cleanly, test_bad_arguments_get_usage,
                        test_no_window_to_draw_in_is_a_failure,
                        test_only_the_first_copy_sounds]))
