"""Audio failures in a full-screen run of the real program: what the user sees in boxes, and
whether the show goes on. A box takes the activation from the full-screen saver, which then
ends, as losing the activation always ends it. A sound server that never answers costs the
start a bounded wait, and the sound libraries' own messages stay off the terminal."""
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(__file__))
from saver_harness import (BUILD_DIR, Sandbox, check, focused_saver,  # noqa: E402
                           install_program, reg_string, run_tests, saver_windows, wait_for,
                           wait_for_exit, wait_for_focused_saver, xdotool, START)

MUSIC_ONLY = '"pmusic"=dword:00000001\n"pmp3"=dword:00000000\n"pcd"=dword:00000000\n'
MP3_ONLY = '"pmusic"=dword:00000000\n"pmp3"=dword:00000001\n"pcd"=dword:00000000\n'
MUSIC_INIT_FAILED = [("SHUTDOWN ERROR", "Error Initializing Music", "information", "ok")]
MP3_LOAD_FAILED = [("SHUTDOWN ERROR", "Error Loading MP3 File", "error", "ok")]
# Seconds the output waits for a sound server's answer, and what a run may take beyond it.
SERVER_WAIT = 2.0
SERVER_WAIT_SLACK = 1.0


def run_saver(settings, audio_driver="dummy", damage_module=False, seams=True):
    """A full-screen run over a private copy of the data folder, which `settings` may name as
    {install}; the sandbox and the process. Without `seams` the run is the user's own: SDL
    chooses the driver and boxes are real dialogs."""
    sandbox = Sandbox()
    folder = os.path.join(sandbox.root, "install")
    shutil.copytree(os.path.join(BUILD_DIR, "data"), folder)
    shutil.copy(os.path.join(folder, "data", "Gz2.xm"), os.path.join(folder, "module.mp3"))
    if damage_module:
        with open(os.path.join(folder, "data", "Gz2.xm"), "w") as f:
            f.write("not a module\n")
    sandbox.write_user_settings(settings.format(install=folder))
    sandbox.audio_driver = audio_driver
    program = install_program(sandbox.app_dir, folder)
    xdotool("mousemove", *START)
    env = sandbox.env()
    if not seams:
        del env["VOSTREL_TEST_BOXES"], env["SDL_AUDIODRIVER"]
    process = subprocess.Popen([program, "/s"], env=env, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE)
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
    # The module has MPEG frame headers by chance, 40 KiB in: played, they are full-scale noise.
    for path in ["/no/such/file.mp3", "{install}/module.mp3"]:
        box_ends_the_saver(MP3_ONLY + '"datapath"=%s\n' % reg_string(path), "dummy",
                           MP3_LOAD_FAILED)


def test_no_sound_device_for_the_music():
    box_ends_the_saver(MUSIC_ONLY, "no-such-driver", MUSIC_INIT_FAILED)


def end_by_key(process):
    """Ends a run by a key once its saver has the focus, unless a box has ended it already."""
    wait_for(lambda: process.poll() is not None or focused_saver(), "the show or its end")
    if process.poll() is None:
        time.sleep(0.5)  # the pointer position is recorded right after the focus is taken
        xdotool("key", "space")
    wait_for_exit(process)


def seconds_to_first_box(sandbox, process):
    """Seconds from now until the run records a box; then ends the run."""
    start = time.time()
    wait_for(lambda: sandbox.boxes() or process.poll() is not None, "a box")
    seconds = time.time() - start
    end_by_key(process)
    return seconds


def test_silent_sound_server_costs_a_bounded_wait():
    """A server that takes the connection and never answers, against the same start with no
    driver at all; the one may take at most the output's wait longer than the other."""
    sandbox, process = run_saver(MUSIC_ONLY, "no-such-driver")
    baseline = seconds_to_first_box(sandbox, process)
    sandbox.close()
    with tempfile.TemporaryDirectory() as folder:
        server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        server.bind(os.path.join(folder, "native"))
        server.listen(8)  # the kernel takes the connections; nobody reads or writes them
        os.environ["PULSE_SERVER"] = "unix:" + os.path.join(folder, "native")
        try:
            sandbox, process = run_saver(MUSIC_ONLY, "pulseaudio")
            silent = seconds_to_first_box(sandbox, process)
        finally:
            del os.environ["PULSE_SERVER"]
            server.close()
    print("silent server: box after %.2f s, %.2f s without a driver" % (silent, baseline))
    check(boxes(sandbox) == MUSIC_INIT_FAILED, "boxes: %r" % boxes(sandbox))
    check(silent - baseline < SERVER_WAIT + SERVER_WAIT_SLACK,
          "the silent server held the start %.1f s longer" % (silent - baseline))
    sandbox.close()


def audio_dialogs():
    return xdotool("search", "--name", "^%s$" % MUSIC_INIT_FAILED[0][0])


def answer_real_box(process):
    """Answers the dialog of an audio box with Return, when one comes within the output's
    wait."""
    deadline = time.time() + SERVER_WAIT + SERVER_WAIT_SLACK
    while time.time() < deadline and process.poll() is None:
        dialogs = audio_dialogs()
        if dialogs:
            xdotool("windowfocus", dialogs[0])
            time.sleep(0.3)
            xdotool("key", "Return")
            return
        time.sleep(0.1)


def test_sound_libraries_keep_quiet():
    """The user's own run, without any seam: on a machine without a sound card ALSA has its
    say about every device it cannot open, and a real box follows."""
    sandbox, process = run_saver(MUSIC_ONLY + '"psound"=dword:00000001\n', seams=False)
    wait_for(lambda: process.poll() is not None or focused_saver() or audio_dialogs(),
             "the show, a box or the end")
    answer_real_box(process)
    end_by_key(process)
    stderr = process.stderr.read().decode(errors="replace")
    check("ALSA" not in stderr and "SDL" not in stderr, "on the terminal: %r" % stderr)
    sandbox.close()


if __name__ == "__main__":
    sys.exit(run_tests([test_unreadable_module_shows_nothing_and_the_show_runs,
                        test_wrong_mp3_path_shows_one_error_box,
                        test_no_sound_device_for_the_music,
                        test_silent_sound_server_costs_a_bounded_wait,
                        test_sound_libraries_keep_quiet]))
