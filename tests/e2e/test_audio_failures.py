"""Audio failures in a full-screen run of the real program: what the user sees in boxes, and
whether the show goes on. A box takes the activation from the full-screen saver, which then
ends, as losing the activation always ends it."""
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(__file__))
from saver_harness import (BUILD_DIR, Sandbox, check, install_program, reg_string,  # noqa: E402
                           run_tests, saver_windows, wait_for_exit, wait_for_focused_saver,
                           xdotool, START)

MUSIC_ONLY = '"pmusic"=dword:00000001\n"pmp3"=dword:00000000\n"pcd"=dword:00000000\n'
MP3_ONLY = '"pmusic"=dword:00000000\n"pmp3"=dword:00000001\n"pcd"=dword:00000000\n'


def run_saver(settings, audio_driver="dummy", damage_module=False):
    """A full-screen run over a private copy of the data folder; the sandbox, the process and
    whether a saver window took the focus (the show ran)."""
    sandbox = Sandbox()
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


def box_ends_the_saver(settings, audio_driver, expected):
    sandbox, process = run_saver(settings, audio_driver)
    wait_for_exit(process)
    check(boxes(sandbox) == expected, "boxes: %r" % boxes(sandbox))
    check(not saver_windows(), "a saver window is left behind")
    sandbox.close()


def test_wrong_mp3_path_shows_one_error_box():
    box_ends_the_saver(MP3_ONLY + '"datapath"=%s\n' % reg_string("/no/such/file.mp3"), "dummy",
                       [("SHUTDOWN ERROR", "Error Loading MP3 File", "error", "ok")])


def test_no_sound_device_for_the_music():
    box_ends_the_saver(MUSIC_ONLY, "no-such-driver",
                       [("SHUTDOWN ERROR", "Error Initializing Music", "information", "ok")])


if __name__ == "__main__":
    sys.exit(run_tests([test_unreadable_module_shows_nothing_and_the_show_runs,
                        test_wrong_mp3_path_shows_one_error_box,
                        test_no_sound_device_for_the_music]))
