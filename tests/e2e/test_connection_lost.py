"""The saver's display going away under it, as when the desktop crashes or is ended: the
compositor killed with SIGKILL and with SIGTERM during the show, on sway, mutter and KWin as
this machine has them and as Debian 13 has them (tests/e2e_wayland/compositor_killed.py, in
sessions of scripts/wayland-session.sh), and the X server killed: each time the saver ends
within a second (two for a sanitized build) with status 0, never spinning on the dead connection or dumping core. And a
Wayland socket that accepts but never answers: the saver takes X11 where DISPLAY names a
server, and says "Can't Create Window." where none is named, within 3 seconds."""
import os
import signal
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(__file__))
from saver_harness import (BUILD_DIR, DISPLAY_LOSS_ENDS_WITHIN, SHOW_SETTLES,  # noqa: E402
                           Sandbox, check, install_program, run_tests, start_private_x_server,
                           wait_for)

HERE = os.path.dirname(os.path.abspath(__file__))
WAYLAND_SESSION = os.path.join(HERE, "..", "..", "scripts", "wayland-session.sh")
KILLED = os.path.join(HERE, "..", "e2e_wayland", "compositor_killed.py")
SKIPPED = 77  # wayland-session.sh's status where it cannot make a session
NO_SOUND = '"pmusic"=dword:00000000\n"pmp3"=dword:00000000\n"pcd"=dword:00000000\n'
SESSIONS = [[], ["--debian13"]]
COMPOSITORS = ["sway", "mutter", "kwin"]
SIGNALS = ["SIGKILL", "SIGTERM"]
ANSWERS_WITHIN = 3.0  # seconds, the silent compositor
CANNOT_CREATE_WINDOW = "Can't Create Window."


def test_compositor_killed_during_the_show():
    failed = []
    for release in SESSIONS:
        for compositor in COMPOSITORS:
            for signal_name in SIGNALS:
                result = subprocess.run(
                    ["bash", WAYLAND_SESSION] + release + ["--" + compositor, "/usr/bin/python3",
                                                           KILLED, signal_name],
                    stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, timeout=120)
                case = " ".join(release + [compositor, signal_name])
                lines = [line for line in result.stdout.splitlines()
                         if line.startswith(("the saver", "FAIL"))]
                print("%s: %s" % (case, "; ".join(lines) or "status %d" % result.returncode))
                if result.returncode not in (0, SKIPPED):
                    failed.append(case)
    check(not failed, "failed: %s" % ", ".join(failed))


def saver_sandbox():
    sandbox = Sandbox()
    sandbox.answer_boxes = False
    sandbox.write_user_settings(NO_SOUND)
    return sandbox, install_program(sandbox.app_dir, os.path.join(BUILD_DIR, "data"))


def saver_window_on(display):
    """Whether the saver's window is on the X server of `display`."""
    return subprocess.run(["xdotool", "search", "--name", "Vostrel"], env=dict(
        os.environ, DISPLAY=display), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
        text=True).stdout.strip() != ""


def test_x_server_killed_during_the_show():
    for signal_number in (signal.SIGKILL, signal.SIGTERM):
        server, display = start_private_x_server("800x600x24")
        sandbox, program = saver_sandbox()
        environment = sandbox.env()
        environment["DISPLAY"] = display
        saver = subprocess.Popen([program, "/s"], env=environment, stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE)
        try:
            wait_for(lambda: saver_window_on(display), "the saver's window")
            time.sleep(SHOW_SETTLES)
            check(saver.poll() is None, "the saver ended before the server")
            killed = time.time()
            server.send_signal(signal_number)
            saver.wait(timeout=10)
            took = time.time() - killed
            print("the saver ended %.2f s after the X server's %s, status %d" % (
                took, signal.Signals(signal_number).name, saver.returncode))
            check(saver.returncode == 0, "status %d" % saver.returncode)
            check(took <= DISPLAY_LOSS_ENDS_WITHIN, "it took %.2f s" % took)
        finally:
            for process in (saver, server):
                if process.poll() is None:
                    process.kill()
                process.wait()
            sandbox.close()


class SilentCompositor:
    """A Wayland socket that accepts connections and never answers, as a hung compositor's."""

    def __init__(self):
        self.runtime = tempfile.TemporaryDirectory(prefix="vostrel-silent-")
        os.chmod(self.runtime.name, 0o700)
        self.socket = socket.socket(socket.AF_UNIX)
        self.socket.bind(os.path.join(self.runtime.name, "wayland-silent"))
        self.socket.listen(8)

    def environment(self, environment):
        environment.update(XDG_RUNTIME_DIR=self.runtime.name, WAYLAND_DISPLAY="wayland-silent")
        return environment

    def close(self):
        self.socket.close()
        self.runtime.cleanup()


def test_a_silent_compositor_is_no_compositor():
    silent = SilentCompositor()
    sandbox, program = saver_sandbox()
    server, display = start_private_x_server("800x600x24")
    try:
        environment = silent.environment(sandbox.env())
        environment["DISPLAY"] = display
        started = time.time()
        saver = subprocess.Popen([program, "/s"], env=environment, stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE)
        try:
            wait_for(lambda: saver_window_on(display), "the saver's X window")
            took = time.time() - started
            print("on X11 after %.2f s" % took)
            check(took <= ANSWERS_WITHIN, "X11 after %.2f s" % took)
        finally:
            saver.kill()
            saver.wait()
        del environment["DISPLAY"]
        started = time.time()
        result = subprocess.run([program, "/s"], env=environment, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, text=True, timeout=30)
        took = time.time() - started
        print("without X11: %r after %.2f s" % (result.stderr.strip().splitlines()[-1:], took))
        check(CANNOT_CREATE_WINDOW in result.stderr, "stderr: %r" % result.stderr)
        check(took <= ANSWERS_WITHIN, "%.2f s" % took)
    finally:
        server.kill()
        server.wait()
        sandbox.close()
        silent.close()


if __name__ == "__main__":
    sys.exit(run_tests([test_compositor_killed_during_the_show,
                        test_x_server_killed_during_the_show,
                        test_a_silent_compositor_is_no_compositor]))
