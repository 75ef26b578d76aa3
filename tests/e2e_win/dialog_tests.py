"""The installed saver's configuration dialog (/c) as a user meets it: Wine's dialog made from
the program's resource, driven with keys through xdotool, and what it leaves in the settings key.
The focus starts on OK; the tab order is the template's, and a radio group is one stop."""
import re
import subprocess
import time

from wine_prefix import (BOX_TRACE, DIALOG_SCREENSHOT, ENV, FOCUS_SETTLE, NAMES, SAVER,
                         geometry, reg_values, traced_boxes, wine)
from saver_harness import check, wait_for, xdotool
from screen_png import write_screen_png
from x_windows import XConnection

TITLE = "%s v%s" % (NAMES["PRODUCT"], NAMES["VERSION"])
CHOOSER_TITLE = "Open MP3 File"
KEY = "HKCU\\" + NAMES["SETTINGS_KEY"]
KEY_DELAY_MS = 100
SETTLE = 2.0  # seconds in which a second box would have shown
# Shift+Tab from OK: CANCEL, DEFAULT, 3D Test, E-Mail, Home Page, the caption's edit box.
BACK_TO_DEFAULT = ["shift+Tab"] * 2
BACK_TO_CAPTION = ["shift+Tab"] * 6
FORWARD_TO_MP3 = ["Tab"] * 7  # resolution, colour depth, detail, three sources, MP3

DEFAULTS = {"resolution": "0x3f5", "part": "0x40c", "useblur": "0x0", "bpp": "0x0",
            "psound": "0x1", "pmusic": "0x1", "pcd": "0x0", "pmp3": "0x0", "restart": "0x1",
            "text": "0x1", "showcred": "0x1", "starfield": "0x1", "matrox": "0x0", "debug": "0x0",
            "vostrel": "VOSTREL"}
RESOLUTION_800 = "0x3f6"
NOT_DEFAULTS = {"resolution": 1017, "part": 1037, "useblur": 1, "psound": 0, "restart": 0,
                "starfield": 0, "debug": 1}
MP3_PATH = "C:\\music\\song.mp3"
WS_DISABLED = 0x08000000


def windows_named(title):
    return xdotool("search", "--onlyvisible", "--name", "^%s$" % title.replace(".", "\\."))


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", str(KEY_DELAY_MS)] + list(names), timeout=30,
                   check=True)


class Dialog:
    """`vostrel.scr /c` with its dialog found by title and focused; killed if a check fails."""

    def __init__(self, switch="/c"):
        shown = set(windows_named(TITLE))
        self.process = subprocess.Popen(["wine", SAVER, switch],
                                        env=dict(ENV, WINEDEBUG=BOX_TRACE),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                        text=True)
        try:
            self.window = wait_for(lambda: sorted(set(windows_named(TITLE)) - shown),
                                   "the dialog")[0]
            self.focus()
        except AssertionError:
            self.kill()
            raise

    def focus(self, window=None):
        xdotool("windowfocus", "--sync", window or self.window)
        time.sleep(FOCUS_SETTLE)

    def close(self):
        """Waits for the program to end; its standard error."""
        try:
            _, errors = self.process.communicate(timeout=30)
        except subprocess.TimeoutExpired:
            raise AssertionError("the dialog did not close: %s" % windows_named(TITLE))
        check(self.process.returncode == 0, "exit code %d" % self.process.returncode)
        return errors

    def kill(self):
        if self.process.poll() is None:
            subprocess.run(["wineserver", "-k"], env=ENV)
            self.process.wait()


def run_dialog(steps):
    """Opens the dialog, runs steps(dialog) and waits for the end; the boxes' texts."""
    dialog = Dialog()
    try:
        steps(dialog)
        return traced_boxes(dialog.close())
    finally:
        dialog.kill()


def dialog_styles():
    """{handle: window style} of the program's dialogs, as Wine's debugger lists them (with
    their titles cut short)."""
    listing = wine("winedbg", "--command", "info wnd").stdout
    return {int(handle, 16): int(style, 16) for handle, style in re.findall(
        r"^\s*([0-9a-f]+)\s+#32770\s+([0-9a-f]+)\s.*%s" % re.escape(NAMES["PRODUCT"][:10]),
        listing, re.M)}


def position(window):
    return geometry(window)[:2]


def set_values(values):
    for name, value in values.items():
        kind = "REG_DWORD" if isinstance(value, int) else "REG_SZ"
        result = wine("reg", "add", KEY, "/v", name, "/t", kind, "/d", str(value), "/f")
        check(result.returncode == 0, "reg add %s failed" % name)


def screenshot(dialog, path):
    from PIL import Image
    left, top, width, height = geometry(dialog.window)
    x = XConnection()
    try:
        write_screen_png(x, path)
    finally:
        x.close()
    Image.open(path).crop((left, top, left + width, top + height)).save(path)


def test_dialog_default_then_a_radio_key_and_return_store_the_choices():
    set_values(dict(NOT_DEFAULTS, datapath=MP3_PATH, vostrel="ABC"))

    def steps(dialog):
        keys(*BACK_TO_DEFAULT, "space", "Tab", "Tab")  # DEFAULT, then on to OK
        if DIALOG_SCREENSHOT:
            screenshot(dialog, DIALOG_SCREENSHOT)
        # Tab wraps to the resolution group's selected button, Down selects the next one,
        # Return anywhere but on a push button is OK.
        keys("Tab", "Down", "Return")

    shown = run_dialog(steps)
    stored = reg_values(KEY) or {}
    expected = dict(DEFAULTS, resolution=RESOLUTION_800)
    wrong = {name: stored.get(name) for name, value in expected.items()
             if stored.get(name) != value}
    check(wrong == {}, "not the defaults with 800 x 600: %s" % wrong)
    check(stored.get("datapath") == MP3_PATH, "DEFAULT changed the MP3 path: %s" % stored)
    check(shown == [], "boxes: %s" % shown)


def test_dialog_nine_letter_caption_shows_the_length_box_and_keeps_the_caption():
    before = (reg_values(KEY) or {}).get("vostrel")

    def steps(dialog):
        keys(*BACK_TO_CAPTION)
        subprocess.run(["xdotool", "type", "--delay", str(KEY_DELAY_MS), "ABCDEFGHI"],
                       timeout=30, check=True)
        keys("Return")
        box = wait_for(lambda: windows_named("Misc Options"), "the caption's box")[0]
        dialog.focus(box)
        keys("Return")
        wait_for(lambda: not windows_named("Misc Options"), "the box to close")
        time.sleep(SETTLE)
        check(windows_named("Misc Options") == [], "a second box followed the length box")
        check(windows_named(TITLE) != [], "the dialog closed")
        dialog.focus()
        keys("Escape")

    shown = run_dialog(steps)
    check(shown == ["Text to be displayed\ncan be max 7 char long."], "boxes: %s" % shown)
    check((reg_values(KEY) or {}).get("vostrel") == before, "the caption was stored")


def test_dialog_escape_stores_nothing():
    before = reg_values(KEY)

    def steps(dialog):
        keys("Tab", "Down", "Escape")  # 800 x 600 chosen, then the dialog cancelled

    run_dialog(steps)
    check(reg_values(KEY) == before, "Escape changed the settings: %s" % reg_values(KEY))


def test_dialog_play_mp3_opens_the_chooser():
    before = reg_values(KEY)

    def steps(dialog):
        keys(*FORWARD_TO_MP3, "space")
        chooser = wait_for(lambda: windows_named(CHOOSER_TITLE), "the file chooser")[0]
        dialog.focus(chooser)
        keys("Escape")
        wait_for(lambda: not windows_named(CHOOSER_TITLE), "the chooser to close")
        check(windows_named(TITLE) != [], "the dialog closed with the chooser")
        dialog.focus()
        keys("Escape")

    run_dialog(steps)
    check(reg_values(KEY) == before, "the chooser's cancel stored something")


def test_dialog_owned_by_the_window_its_switch_names():
    owner = Dialog()
    try:
        handle, = dialog_styles()
        owned = Dialog(switch="/c:%d" % handle)
        try:
            transient = subprocess.run(["xprop", "-id", owned.window, "WM_TRANSIENT_FOR"],
                                       stdout=subprocess.PIPE, text=True, timeout=30).stdout
            check(transient.split()[-1] == hex(int(owner.window)),
                  "not above its owner: %s" % transient)
            # Placed from the owner's corner, as from the screen's without one.
            check(position(owned.window) == tuple(2 * c for c in position(owner.window)),
                  "owned at %s, owner at %s" % (position(owned.window), position(owner.window)))
            check(dialog_styles()[handle] & WS_DISABLED, "the owner stays enabled")
            keys("Escape")
            owned.close()
        finally:
            owned.kill()
        check(not dialog_styles()[handle] & WS_DISABLED, "the owner stays disabled")
        owner.focus()
        keys("Escape")
        owner.close()
    finally:
        owner.kill()


def test_dialog_without_owner_for_a_handle_that_is_no_window():
    """A stale handle from the display settings, or a mistyped one: the dialog, and no help."""
    for switch in ("/c:-5", "/c:65544"):
        dialog = Dialog(switch=switch)
        try:
            keys("Escape")
            errors = dialog.close()
        finally:
            dialog.kill()
        check("display" not in errors, "%s wrote: %s" % (switch, errors))


TESTS = [test_dialog_owned_by_the_window_its_switch_names,
         test_dialog_without_owner_for_a_handle_that_is_no_window,
         test_dialog_default_then_a_radio_key_and_return_store_the_choices,
         test_dialog_nine_letter_caption_shows_the_length_box_and_keeps_the_caption,
         test_dialog_escape_stores_nothing, test_dialog_play_mp3_opens_the_chooser]
