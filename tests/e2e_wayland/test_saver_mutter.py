"""The saver on GNOME's compositor (mutter, headless, run by scripts/wayland-session.sh
--mutter), which offers no layer-shell: the show is a fullscreen window, started over the
configuration dialog's focused window, and the exit rules hold with input that mutter's
remote-desktop interface injects, on two monitors, the way a laptop on a dock has them: the
saver runs on without input with a window on each, and the music's box (default settings, no
sound device), made the show's child, takes the keyboard over it. Mutter offers no screenshot
here, so what is shown is judged from the saver's protocol trace; the exit rules' runs have the
music off."""
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from mutter_input import RemoteInput  # noqa: E402
from saver_harness import (BUILD_DIR, Sandbox, check, install_program,  # noqa: E402
                           run_tests, wait_for, wait_for_exit)
from wayland_saver import (BUTTON_LEFT, KEY_F4, KEY_LEFT_ALT, KEY_RETURN,  # noqa: E402
                           KEY_SPACE)

NO_SOUND = '"pmusic"=dword:00000000\n"pmp3"=dword:00000000\n"pcd"=dword:00000000\n'
SETTLE = 3.0  # seconds for a window to map and take the keyboard


INPUT = RemoteInput()


def with_saver(test):
    def run():
        sandbox = Sandbox()
        sandbox.write_user_settings(NO_SOUND)
        program = install_program(sandbox.app_dir, os.path.join(BUILD_DIR, "data"))
        dialog = sandbox.start(["/c"], program=program)
        time.sleep(SETTLE)
        saver = sandbox.start(["/s"], program=program)
        try:
            time.sleep(SETTLE)
            check(saver.poll() is None, "the saver ended by itself")
            test(saver)
        finally:
            for process in (saver, dialog):
                if process.poll() is None:
                    process.kill()
                process.wait()
            sandbox.close()
    run.__name__ = test.__name__
    return run


def still_running(saver, settle=1.5):
    time.sleep(settle)
    return saver.poll() is None


@with_saver
def test_key_ends_it(saver):
    INPUT.keys(KEY_SPACE)
    wait_for_exit(saver)


@with_saver
def test_click_ends_it(saver):
    INPUT.click(BUTTON_LEFT)
    wait_for_exit(saver)


@with_saver
def test_travel_and_alt_f4(saver):
    INPUT.move(1, 0)
    INPUT.keys(KEY_LEFT_ALT, KEY_F4)
    check(still_running(saver), "Alt+F4 ended it")
    INPUT.move(30, 0)
    check(still_running(saver), "30 pixels ended it")
    INPUT.move(30, 0)
    wait_for_exit(saver)


CALM = 30.0  # seconds without input
# From the saver's protocol trace: each monitor's fullscreen window, and the buffers shown.
FULLSCREEN = re.compile(r"-> xdg_toplevel@\d+\.set_fullscreen\(wl_output@(\d+)\)")
ATTACHED = re.compile(r"-> wl_surface@(\d+)\.attach\(wl_buffer@\d+")


# GTK's box made the child of the toplevel whose handle the saver exported.
CHILD = re.compile(r"-> zxdg_imported_v1@\d+\.set_parent_of\(wl_surface@\d+\)")


def start_traced(sandbox):
    """`vostrel /s` with its protocol trace in a file of the sandbox's: the process, and a
    function that reads the trace so far."""
    program = install_program(sandbox.app_dir, os.path.join(BUILD_DIR, "data"))
    path = os.path.join(sandbox.root, "trace.txt")
    environment = dict(sandbox.env(), WAYLAND_DEBUG="client")
    with open(path, "w") as log:
        saver = subprocess.Popen([program, "/s"], env=environment, stdout=subprocess.DEVNULL,
                                 stderr=log)

    def trace():
        with open(path) as f:
            return f.read()
    return saver, trace


def end_with_a_key(saver):
    INPUT.keys(KEY_SPACE)
    saver.wait(timeout=30)
    check(saver.returncode == 0, "status %d" % saver.returncode)


def test_two_monitors_covered_and_calm():
    """Mutter hands the keyboard from the show's window to the other monitor's: the saver runs
    on without input, a window with a buffer on each monitor, until a key."""
    sandbox = Sandbox()
    sandbox.answer_boxes = False
    sandbox.write_user_settings(NO_SOUND)
    saver, trace = start_traced(sandbox)
    try:
        time.sleep(CALM)
        check(saver.poll() is None, "the saver ended by itself")
        text = trace()
        monitors = set(FULLSCREEN.findall(text))
        check(len(monitors) == 2, "fullscreen on %d monitors" % len(monitors))
        check(len(set(ATTACHED.findall(text))) >= 2, "buffers on fewer than two windows")
        end_with_a_key(saver)
    finally:
        if saver.poll() is None:
            saver.kill()
            saver.wait()
        sandbox.close()


def test_box_takes_the_keyboard_over_the_show():
    """The music's box (default settings, no sound device) is the child of the show's window,
    and Return reaches it alone: the show, had the key been its, would wait under the box for
    ever, and the box, had it kept the keyboard, would take the Space."""
    sandbox = Sandbox()
    sandbox.answer_boxes = False
    sandbox.audio_driver = None
    sandbox.write_user_settings()
    saver, trace = start_traced(sandbox)
    try:
        wait_for(sandbox.boxes, "the box")
        time.sleep(SETTLE)
        check(CHILD.search(trace()), "the box is not the show's child")
        INPUT.keys(KEY_RETURN)
        check(still_running(saver), "Return ended it")
        end_with_a_key(saver)
    finally:
        if saver.poll() is None:
            saver.kill()
            saver.wait()
        sandbox.close()


if __name__ == "__main__":
    sys.exit(run_tests([test_key_ends_it, test_click_ends_it, test_travel_and_alt_f4,
                        test_two_monitors_covered_and_calm,
                        test_box_takes_the_keyboard_over_the_show]))
