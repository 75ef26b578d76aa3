"""Audio failures in a full-screen run of the real program: what the user sees in boxes, and
that the show then goes on, silently. A box the set-up shows borrows the keyboard and the
pointer; once it is answered the saver takes them back and a key ends it as ever. A sound
server that never answers costs the start a bounded wait, and the sound libraries' own
messages stay off the terminal."""
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(__file__))
from saver_harness import (BUILD_DIR, Sandbox, check, focused_saver,  # noqa: E402
                           install_program, reg_string, run_tests, wait_for, wait_for_exit,
                           wait_for_focused_saver, xdotool, START)
from x_windows import XConnection  # noqa: E402

MUSIC_ONLY = '"pmusic"=dword:00000001\n"pmp3"=dword:00000000\n"pcd"=dword:00000000\n'
MP3_ONLY = '"pmusic"=dword:00000000\n"pmp3"=dword:00000001\n"pcd"=dword:00000000\n'
WRONG_MP3 = MP3_ONLY + '"datapath"=%s\n' % reg_string("/no/such/file.mp3")
NO_SOUND_DEVICE = "no-such-driver"
AUDIO_BOX_TITLE = "SHUTDOWN ERROR"
MUSIC_INIT_FAILED = [(AUDIO_BOX_TITLE, "Error Initializing Music", "information", "ok")]
MP3_LOAD_FAILED = [(AUDIO_BOX_TITLE, "Error Loading MP3 File", "error", "ok")]
# Seconds the output waits for a sound server's answer, and what a run may take beyond it.
SERVER_WAIT = 2.0
SERVER_WAIT_SLACK = 1.0
SHOW_SECONDS = 5
# How long a key may take to end a run whose sound server has stopped answering.
FROZEN_SERVER_END = 2.0


def run_saver(settings, audio_driver="dummy", damage_module=False, answer_boxes=True):
    """A full-screen run over a private copy of the data folder, which `settings` may name as
    {install}; the sandbox and the process. An `audio_driver` of None lets SDL choose, as in
    a user's run; without `answer_boxes` the test answers the boxes itself."""
    sandbox = Sandbox()
    sandbox.answer_boxes = answer_boxes
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
    """The saver covers the screen, its picture changes every second, and a key ends it; what
    the run wrote on standard error."""
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
        stderr = wait_for_exit(process)
        check(screen.input_free(), "the keyboard or the pointer is still held")
    finally:
        screen.close()
    return stderr


def box_then_the_show(settings, audio_driver, expected):
    sandbox, process = run_saver(settings, audio_driver)
    check_show_runs_until_a_key(process)
    check(boxes(sandbox) == expected, "boxes: %r" % boxes(sandbox))
    sandbox.close()


def test_wrong_mp3_path_shows_one_error_box():
    # The module has MPEG frame headers by chance, 40 KiB in: played, they are full-scale noise.
    for path in ["/no/such/file.mp3", "{install}/module.mp3"]:
        box_then_the_show(MP3_ONLY + '"datapath"=%s\n' % reg_string(path), "dummy",
                          MP3_LOAD_FAILED)


def test_no_sound_device_for_the_music():
    box_then_the_show(MUSIC_ONLY, NO_SOUND_DEVICE, MUSIC_INIT_FAILED)


def end_by_key(process):
    """Ends a run by a key once its saver has the focus, unless it has ended already."""
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
    sandbox, process = run_saver(MUSIC_ONLY, NO_SOUND_DEVICE)
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


def start_sound_server(folder):
    """A real PulseAudio daemon of the test's own, on a socket in `folder`, playing into a null
    sink; the process, once the socket takes connections."""
    env = dict(os.environ, HOME=folder, XDG_RUNTIME_DIR=folder, XDG_CONFIG_HOME=folder)
    socket_path = os.path.join(folder, "native")
    server = subprocess.Popen(
        ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes",
         "-L", "module-native-protocol-unix socket=%s auth-anonymous=1" % socket_path,
         "-L", "module-null-sink"],
        env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for(lambda: os.path.exists(socket_path), "the sound server's socket")
    return server, "unix:" + socket_path


def test_key_ends_the_saver_while_the_sound_server_is_frozen():
    """The music plays through a real sound server, which is then stopped as a debugger or a
    hung server would leave it: a key still ends the saver at once, screen and input freed."""
    if shutil.which("pulseaudio") is None:
        print("SKIP: no PulseAudio here (scripts/install-deps.sh --tests leaves PipeWire's alone)")
        return
    with tempfile.TemporaryDirectory() as folder:
        server, address = start_sound_server(folder)
        os.environ["PULSE_SERVER"] = address
        try:
            sandbox, process = run_saver(MUSIC_ONLY, "pulseaudio")
            wait_for_focused_saver()
            time.sleep(2.0)  # the music is under way
            server.send_signal(signal.SIGSTOP)
            time.sleep(1.0)  # the output's thread now waits for the server
            check(boxes(sandbox) == [], "boxes: %r" % boxes(sandbox))
            start = time.time()
            xdotool("key", "space")
            wait_for_exit(process, timeout=FROZEN_SERVER_END)
            print("a key ended the saver in %.2f s" % (time.time() - start))
            screen = XConnection()
            check(screen.input_free(), "the keyboard or the pointer is still held")
            screen.close()
            sandbox.close()
        finally:
            del os.environ["PULSE_SERVER"]
            server.send_signal(signal.SIGCONT)
            server.kill()
            server.wait()


def audio_box():
    return xdotool("search", "--onlyvisible", "--name", "^%s$" % AUDIO_BOX_TITLE)


def test_wrong_mp3_path_answered_with_return():
    """The real box, answered as a user would: it has the keyboard, so Return closes it."""
    sandbox, process = run_saver(WRONG_MP3, "dummy", answer_boxes=False)
    box = wait_for(audio_box, "the box")
    wait_for(lambda: xdotool("getwindowfocus") == box, "the box to take the keyboard")
    xdotool("key", "Return")
    check_show_runs_until_a_key(process)
    sandbox.close()


def test_default_settings_as_the_machine_is():
    """No seam at all, as a user starts it: on a machine without a sound device (as the test
    machines are) the music's box comes first; with one, the show simply runs. Either way the
    sound libraries' own complaints never reach the terminal."""
    sandbox, process = run_saver("", None, answer_boxes=False)
    try:
        box = wait_for(audio_box, "the box")
    except AssertionError:
        box = None
        print("a sound device works here: no box to answer")
    if box:
        wait_for(lambda: xdotool("getwindowfocus") == box, "the box to take the keyboard")
        xdotool("key", "Return")
    stderr = check_show_runs_until_a_key(process)
    check("ALSA" not in stderr and "SDL" not in stderr, "on the terminal: %r" % stderr)
    sandbox.close()


if __name__ == "__main__":
    sys.exit(run_tests([test_unreadable_module_shows_nothing_and_the_show_runs,
                        test_wrong_mp3_path_shows_one_error_box,
                        test_no_sound_device_for_the_music,
                        test_silent_sound_server_costs_a_bounded_wait,
                        test_key_ends_the_saver_while_the_sound_server_is_frozen,
                        test_wrong_mp3_path_answered_with_return,
                        test_default_settings_as_the_machine_is]))
