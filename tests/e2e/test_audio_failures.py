"""Audio failures in a full-screen run of the real program: what the user sees in boxes, and
that the show then goes on, silently. A box the set-up shows borrows the keyboard and the
pointer; once it is answered the saver takes them back and a key ends it as ever."""
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from saver_harness import (BUILD_DIR, Sandbox, check, install_program, reg_string,  # noqa: E402
                           run_tests, wait_for, wait_for_exit, wait_for_focused_saver,
                           xdotool, START)
from x_windows import XConnection  # noqa: E402

MUSIC_ONLY = '"pmusic"=dword:00000001\n"pmp3"=dword:00000000\n"pcd"=dword:00000000\n'
MP3_ONLY = '"pmusic"=dword:00000000\n"pmp3"=dword:00000001\n"pcd"=dword:00000000\n'
NO_SOUND_DEVICE = "no-such-driver"
WRONG_MP3 = MP3_ONLY + '"datapath"=%s\n' % reg_string("/no/such/file.mp3")
AUDIO_BOX_TITLE = "SHUTDOWN ERROR"
SHOW_SECONDS = 5


def run_saver(settings, audio_driver="dummy", damage_module=False, record_boxes=True):
    """A full-screen run over a private copy of the data folder; the sandbox and the process."""
    sandbox = Sandbox()
    sandbox.record_boxes = record_boxes
    folder = os.path.join(sandbox.root, "install")
    shutil.copytree(os.path.join(BUILD_DIR, "data"), folder)
    if damage_module:
        with open(os.path.join(folder, "data", "Gz2.xm"), "w") as f:
            f.write("not a module\n")
    sandbox.write_user_settings(settings)
    sandbox.audio_driver = audio_driver
    program = install_program(sandbox.app_dir, folder)
    xdotool("mousemove", *START)
    process = sandbox.start(["/s"], program=program)
    return sandbox, process


def boxes(sandbox):
    return [(b["title"], b["text"], b["icon"], b["buttons"]) for b in sandbox.boxes()]


def test_unreadable_module_shows_nothing_and_the_show_runs():
    sandbox, process = run_saver(MUSIC_ONLY, damage_module=True)
    wait_for_focused_saver()
    check(process.poll() is None, "the saver ended")
    xdotool("key", "space")
    wait_for_exit(process)
    check(boxes(sandbox) == [], "boxes: %r" % boxes(sandbox))
    sandbox.close()


def check_show_runs_until_a_key(process):
    """The saver covers the screen, its picture changes every second, and a key ends it."""
    window = wait_for_focused_saver()
    screen = XConnection()
    try:
        geometry = xdotool("getwindowgeometry", "--shell", window)
        check("WIDTH=%d" % screen.screen_size()[0] in geometry and
              "HEIGHT=%d" % screen.screen_size()[1] in geometry, "window: %r" % geometry)
        pictures = [screen.screen_sample()]
        for _ in range(SHOW_SECONDS):
            time.sleep(1.0)
            pictures.append(screen.screen_sample())
        still = [i for i in range(SHOW_SECONDS) if pictures[i] == pictures[i + 1]]
        check(not still, "the picture did not change in seconds %r" % still)
        check(process.poll() is None, "the saver ended by itself")
        xdotool("key", "space")
        wait_for_exit(process)
        check(screen.input_free(), "the keyboard or the pointer is still held")
    finally:
        screen.close()


def box_then_the_show(settings, audio_driver, expected):
    sandbox, process = run_saver(settings, audio_driver)
    check_show_runs_until_a_key(process)
    check(boxes(sandbox) == expected, "boxes: %r" % boxes(sandbox))
    sandbox.close()


def test_wrong_mp3_path_shows_one_error_box():
    box_then_the_show(WRONG_MP3, "dummy",
                      [(AUDIO_BOX_TITLE, "Error Loading MP3 File", "error", "ok")])


def test_no_sound_device_for_the_music():
    box_then_the_show(MUSIC_ONLY, NO_SOUND_DEVICE,
                      [(AUDIO_BOX_TITLE, "Error Initializing Music", "information", "ok")])


def audio_box():
    return xdotool("search", "--onlyvisible", "--name", "^%s$" % AUDIO_BOX_TITLE)


def test_wrong_mp3_path_answered_with_return():
    """The real box, answered as a user would: it has the keyboard, so Return closes it."""
    sandbox, process = run_saver(WRONG_MP3, "dummy", record_boxes=False)
    box = wait_for(audio_box, "the box")
    wait_for(lambda: xdotool("getwindowfocus") == box, "the box to take the keyboard")
    xdotool("key", "Return")
    check_show_runs_until_a_key(process)
    sandbox.close()


def test_default_settings_as_the_machine_is():
    """No driver named, as a user starts it: on a machine without a sound device (as the test
    machines are) the music's box comes first; with one, the show simply runs."""
    sandbox, process = run_saver("", None, record_boxes=False)
    try:
        box = wait_for(audio_box, "the box")
    except AssertionError:
        box = None
        print("a sound device works here: no box to answer")
    if box:
        wait_for(lambda: xdotool("getwindowfocus") == box, "the box to take the keyboard")
        xdotool("key", "Return")
    check_show_runs_until_a_key(process)
    sandbox.close()


if __name__ == "__main__":
    sys.exit(run_tests([test_unreadable_module_shows_nothing_and_the_show_runs,
                        test_wrong_mp3_path_shows_one_error_box,
                        test_no_sound_device_for_the_music,
                        test_default_settings_as_the_machine_is,
                        test_wrong_mp3_path_answered_with_return]))
