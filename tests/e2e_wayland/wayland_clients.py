"""The tests' own Wayland clients on sway and KWin: the keyboard and pointer
(vostrel-test-input, on the compositor's virtual-input or fake-input protocol), a window
holding an idle inhibitor (vostrel-test-inhibitor), as a playing video does, a lock screen
that needs no password (vostrel-test-lock), and a fullscreen application that notes the keys it
is sent (vostrel-test-fullscreen)."""
import contextlib
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from saver_harness import BUILD_DIR, check  # noqa: E402

KEY_SPACE = 57


class Input:
    """The tests' keyboard and pointer, alive for the whole script: a device made for each key
    would come and go from the seat, and a window would lose the keyboard with it before the
    key's release."""

    def __init__(self):
        self.process = subprocess.Popen([os.path.join(BUILD_DIR, "vostrel-test-input")],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)

    def __call__(self, command):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()
        check(self.process.stdout.readline().strip() == "ok", "the input: " + command)

    def key(self):
        self("keys %d" % KEY_SPACE)

    def close(self):
        """Unplugs the devices: the program ends with its input."""
        self.process.stdin.close()
        self.process.wait(timeout=10)


@contextlib.contextmanager
def idle_inhibitor():
    """A visible window holding an idle inhibitor while the block runs."""
    client = subprocess.Popen([os.path.join(BUILD_DIR, "vostrel-test-inhibitor")],
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    try:
        check(client.stdout.readline().strip() == "held", "the inhibitor's window")
        yield
    finally:
        client.stdin.close()
        client.wait(timeout=10)


@contextlib.contextmanager
def session_locked():
    """The session locked while the block runs."""
    client = subprocess.Popen([os.path.join(BUILD_DIR, "vostrel-test-lock")],
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    try:
        check(client.stdout.readline().strip() == "locked", "the lock")
        yield
    finally:
        client.stdin.close()
        check(client.stdout.readline().strip() == "unlocked", "the unlock")
        client.wait(timeout=10)


class FullscreenApplication:
    """A fullscreen window in one colour (ORANGE) that writes each key it is sent."""

    ORANGE = (0xff, 0x80, 0x00)

    def __init__(self):
        self.process = subprocess.Popen([os.path.join(BUILD_DIR, "vostrel-test-fullscreen")],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        check(self.process.stdout.readline().strip() == "shown", "the fullscreen application")

    def next_key(self):
        """The next key it was sent (a Linux input code), waiting for it."""
        return int(self.process.stdout.readline().split()[1])

    def close(self):
        """Ends it; the keys it was sent that next_key did not take."""
        self.process.stdin.close()
        rest = self.process.stdout.read()
        self.process.wait(timeout=10)
        return [int(line.split()[1]) for line in rest.splitlines()]
