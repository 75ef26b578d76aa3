"""The configuration dialog as a user meets it: the real GTK window of `vostrel /c` under the
private X server, driven with the keyboard through xdotool, and the settings file it leaves.
Also takes the dialog's picture for the docs (config-dialog.png in the build folder)."""
import os
import subprocess
import sys
import time

from saver_harness import (BUILD_DIR, WAIT, Sandbox, check, kill_if_running, run_tests,
                           wait_for, xdotool)
from x_windows import XConnection

DIALOG_TITLE = "Vostrel ScreenSaver v1.1"
CHOOSER_TITLE = "Open MP3 File"
KEY_DELAY_MS = 80
PROMPTLY = 5.0  # seconds a cancelled dialog may take to end, sanitizer builds included
SCREENSHOT = os.path.join(BUILD_DIR, "config-dialog.png")


def windows_named(title):
    return xdotool("search", "--onlyvisible", "--name", "^%s$" % title)


class OpenDialog:
    """`vostrel` started with `args` in a sandbox, its dialog on screen and focused; used in a
    `with`, which always kills it at the end, so a stuck dialog cannot hang the test run."""

    def __init__(self, sandbox, args=("/c",)):
        self.sandbox = sandbox
        self.process = sandbox.start(list(args))
        self.x = XConnection()
        try:
            self.window = wait_for(lambda: windows_named(DIALOG_TITLE), "the dialog")[0]
            self.focus()
        except AssertionError:
            self.kill()
            raise

    def focus(self):
        # No window manager runs here: hand the dialog the input focus as one would.
        self.x.focus(int(self.window))
        time.sleep(0.3)

    def keys(self, *names):
        subprocess.run(["xdotool", "key", "--delay", str(KEY_DELAY_MS)] + list(names),
                       timeout=WAIT, check=True)

    def type(self, text):
        subprocess.run(["xdotool", "type", "--delay", str(KEY_DELAY_MS), text], timeout=WAIT,
                       check=True)

    def wait_for_exit(self):
        try:
            self.process.wait(timeout=WAIT)
        except subprocess.TimeoutExpired:
            self.kill()
            raise AssertionError("the dialog did not close")
        check(self.process.returncode == 0, "exit code %d" % self.process.returncode)

    def kill(self):
        kill_if_running(self.process)
        if self.x is not None:
            self.x.close()
            self.x = None

    def __enter__(self):
        return self

    def __exit__(self, *error):
        self.kill()


def stored(sandbox):
    if not os.path.exists(sandbox.user_key):
        return ""
    with open(sandbox.user_key, encoding="utf-8") as f:
        return f.read()


def screenshot(window, path):
    """The dialog's area of the screen as a PNG file."""
    from PIL import ImageGrab
    geometry = dict(line.split("=") for line in subprocess.run(
        ["xdotool", "getwindowgeometry", "--shell", str(window)], stdout=subprocess.PIPE,
        text=True, timeout=WAIT).stdout.split())
    x, y = int(geometry["X"]), int(geometry["Y"])
    width, height = int(geometry["WIDTH"]), int(geometry["HEIGHT"])
    ImageGrab.grab(bbox=(x, y, x + width, y + height), xdisplay=None).save(path)
    return width, height


def test_keyboard_choices_and_ok_are_stored():
    sandbox = Sandbox()
    with OpenDialog(sandbox) as dialog:
        size = screenshot(dialog.window, SCREENSHOT)
        # Whole on the smallest screen the resolution group offers, so every control is there.
        check(300 < size[0] <= 800 and 200 < size[1] <= 600, "dialog size %r" % (size,))
        # The focus starts on OK; Tab wraps to the resolution group's selected button.
        dialog.keys("Tab", "Down")                 # 800 x 600
        dialog.keys("Tab", "Tab", "Right")         # past 32 Bit Color Depth; High detail
        dialog.keys(*["Tab"] * 14)                 # audio, Browse..., misc options to the caption
        dialog.keys("ctrl+a")
        dialog.type("hi you")
        dialog.keys("Return")                      # OK
        dialog.wait_for_exit()
    text = stored(sandbox)
    check('"resolution"=dword:000003f6' in text, "800 x 600 not stored:\n" + text)
    check('"part"=dword:0000040d' in text, "High detail not stored:\n" + text)
    check('"vostrel"="HI YOU"' in text, "caption not stored in upper case:\n" + text)
    check(sandbox.boxes() == [], "boxes: %r" % sandbox.boxes())
    sandbox.close()


def test_cancel_writes_nothing():
    # 800 x 600 chosen, then Escape, back over OK to CANCEL and Return on it, or the dialog's
    # window destroyed by another client (as xkill -id or a window manager would).
    cancels = (("Escape", lambda dialog: dialog.keys("Escape")),
               ("CANCEL", lambda dialog: dialog.keys("shift+Tab", "shift+Tab", "Return")),
               ("window destroyed", lambda dialog: dialog.x.destroy(int(dialog.window))))
    for name, cancel in cancels:
        sandbox = Sandbox()
        sandbox.write_user_settings('"part"=dword:00000423\n')
        before = stored(sandbox)
        with OpenDialog(sandbox) as dialog:
            dialog.keys("Tab", "Down")
            cancel(dialog)
            started = time.time()
            dialog.wait_for_exit()
            took = time.time() - started
        check(took < PROMPTLY, "%s: the dialog took %.1f s to end" % (name, took))
        check(stored(sandbox) == before, "%s changed the settings:\n%s" % (name, stored(sandbox)))
        sandbox.close()


def test_play_mp3_opens_the_chooser_and_its_cancel_changes_nothing():
    sandbox = Sandbox()
    with OpenDialog(sandbox) as dialog:
        dialog.keys(*["Tab"] * 7, "space")  # to Play MP3 File, and turn it on
        wait_for(lambda: windows_named(CHOOSER_TITLE), "the file chooser")
        dialog.keys("Escape")               # cancels the chooser only
        wait_for(lambda: not windows_named(CHOOSER_TITLE), "the chooser to close")
        check(windows_named(DIALOG_TITLE) != [], "the dialog closed with the chooser")
        dialog.focus()
        dialog.keys("Escape")
        dialog.wait_for_exit()
    check('"pmp3"' not in stored(sandbox), "something was stored")
    sandbox.close()


def test_3d_test_on_the_software_renderer_fails_and_keeps_the_dialog():
    sandbox = Sandbox()
    with OpenDialog(sandbox) as dialog:
        dialog.keys("shift+Tab", "shift+Tab", "shift+Tab", "Return")  # back from OK to 3D Test
        boxes = wait_for(sandbox.boxes, "the verdict", timeout=60)
        check([(b["icon"], b["owner"]) for b in boxes] == [("warning", 0)], boxes)
        check(boxes[0]["text"].startswith("3D Hardware Acceleration Test FAILED!"), boxes)
        # The verdict box bears the saver's name too; the test window must be gone before it.
        check(set(windows_named("Vostrel ScreenSaver")) <= {str(boxes[0]["window"])},
              "the test window stayed")
        verdict = str(boxes[0]["window"])
        wait_for(lambda: verdict not in xdotool("search", "--onlyvisible", "--name", "."),
                 "the verdict's answer")
        dialog.focus()
        dialog.keys("Escape")
        dialog.wait_for_exit()
    sandbox.close()


def test_configure_switches_open_the_dialog():
    for args in ([], ["/c:1234"]):  # no switch, and an owner that names no window
        sandbox = Sandbox()
        with OpenDialog(sandbox, args) as dialog:
            dialog.keys("Escape")
            dialog.wait_for_exit()
        check(sandbox.boxes() == [], "%s: boxes %r" % (args, sandbox.boxes()))
        sandbox.close()


if __name__ == "__main__":
    sys.exit(run_tests([test_keyboard_choices_and_ok_are_stored, test_cancel_writes_nothing,
                        test_play_mp3_opens_the_chooser_and_its_cancel_changes_nothing,
                        test_3d_test_on_the_software_renderer_fails_and_keeps_the_dialog,
                        test_configure_switches_open_the_dialog]))
