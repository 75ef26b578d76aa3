"""The saver on GNOME's compositor (mutter, headless, run by scripts/wayland-session.sh
--mutter), which offers no layer-shell: the show is a fullscreen window, started over the
configuration dialog's focused window, and the exit rules hold with input that mutter's
remote-desktop interface injects. Mutter offers no screenshot here, so only the ends are
judged; the music is off, since its box could not be seen to be up."""
import os
import sys
import time

import gi

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from saver_harness import (BUILD_DIR, Sandbox, check, install_program,  # noqa: E402
                           run_tests, wait_for_exit)

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

NO_SOUND = '"pmusic"=dword:00000000\n"pmp3"=dword:00000000\n"pcd"=dword:00000000\n'
SETTLE = 3.0  # seconds for a window to map and take the keyboard
# Linux input codes.
BUTTON_LEFT = 272
KEY_SPACE, KEY_LEFT_ALT, KEY_F4, KEY_LEFT_SHIFT = 57, 56, 62, 42
BUS = "org.gnome.Mutter.RemoteDesktop"


class RemoteInput:
    """A remote-desktop session's keyboard and pointer, on a bus connection of this process's
    own (mutter ends the session when its maker leaves the bus). Mutter makes its devices with
    their first event, which is lost: a Shift goes first."""

    def __init__(self):
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        path = self.call("/org/gnome/Mutter/RemoteDesktop", "", "CreateSession", None)[0]
        self.path = path
        self.call(path, ".Session", "Start", None)
        self.keys(KEY_LEFT_SHIFT)
        self.move(0, 0)

    def call(self, path, interface, method, args):
        return self.bus.call_sync(BUS, path, BUS + interface, method, args, None,
                                  Gio.DBusCallFlags.NONE, -1, None).unpack()

    def keys(self, *codes):
        for code in codes:
            self.call(self.path, ".Session", "NotifyKeyboardKeycode",
                      GLib.Variant("(ub)", (code, True)))
        for code in reversed(codes):
            self.call(self.path, ".Session", "NotifyKeyboardKeycode",
                      GLib.Variant("(ub)", (code, False)))

    def move(self, dx, dy):
        self.call(self.path, ".Session", "NotifyPointerMotionRelative",
                  GLib.Variant("(dd)", (float(dx), float(dy))))

    def click(self, button):
        for pressed in (True, False):
            self.call(self.path, ".Session", "NotifyPointerButton",
                      GLib.Variant("(ib)", (button, pressed)))


INPUT = RemoteInput()


def with_saver(test):
    def run():
        sandbox = Sandbox()
        sandbox.record_boxes = False
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


if __name__ == "__main__":
    sys.exit(run_tests([test_key_ends_it, test_click_ends_it, test_travel_and_alt_f4]))
