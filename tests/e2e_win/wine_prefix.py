"""What every Windows test shares: one fresh Wine prefix for the whole run, the program's own
names (read from the header the build gave the installer), the `wine` and `reg` calls, and a run
of the installed saver's /s checked as a user would see it.

The saver's message boxes are the system's own: Wine's msgbox trace on the program's standard
error gives each one's text, and a box is answered on screen with a key, found by its title.
"""
import os
import re
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
from saver_harness import check, wait_for, xdotool  # noqa: E402
from x_windows import XConnection  # noqa: E402
from screen_png import write_screen_png  # noqa: E402

# A prefix whose server and desktop started without an X display makes no window while they last
# ("Can't Create Window." right after WM_CREATE), so nothing may start Wine before there is one.
if not os.environ.get("DISPLAY"):
    sys.exit("The Windows tests need an X server: run them under xvfb-run.")

BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build-win")
START = (400, 300)  # where the pointer rests when a run starts
SCREENSHOT = os.environ.get("VOSTREL_WINDOWS_SCREENSHOT")  # where to keep a picture of /s
DIALOG_SCREENSHOT = os.environ.get("VOSTREL_WINDOWS_DIALOG_SCREENSHOT")  # and of /c's dialog


def installer_names():
    with open(os.path.join(BUILD, "installer-names.nsh")) as f:
        return dict(re.findall(r'^!define (\w+) "(.*)"$', f.read(), re.M))


NAMES = installer_names()
WORK = tempfile.TemporaryDirectory(prefix="vostrel-wine-")
PREFIX = os.path.join(WORK.name, "prefix")
# The music needs a sound device: an ALSA one that writes to a file, in the run's own home.
# Without truncation each opening of the device writes a file of its own: SOUND, then SOUND
# with .0001, .0002 and so on.
SOUND = os.path.join(WORK.name, "sound.wav")
with open(os.path.join(WORK.name, ".asoundrc"), "w") as f:
    f.write('pcm.!default { type file; slave.pcm "null"; file "%s"; format "wav"; '
            'truncate false }\n' % SOUND)
ENV = dict(os.environ, WINEPREFIX=PREFIX, WINEDEBUG="-all", HOME=WORK.name,
           # Without the .NET and HTML engines a new prefix takes half the time.
           WINEDLLOVERRIDES="mscoree,mshtml=")
# Every box's text, written by Wine as it fills the box in; the rest of Wine stays quiet.
BOX_TRACE = "-all,trace+msgbox"
FOCUS_SETTLE = 0.5  # seconds until Wine takes a window focused from outside as its active one
DRIVE_C = os.path.join(PREFIX, "drive_c")
SAVER = "C:\\windows\\system32\\" + NAMES["SAVER_NAME"]
state = {}


def wine(*args, timeout=120, **extra):
    return subprocess.run(["wine"] + list(args), env=dict(ENV, **extra), timeout=timeout,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)


def reg_values(key):
    """The values of the registry key as {name: text}, or None when the key is absent."""
    result = wine("reg", "query", key)
    if result.returncode != 0:
        return None
    return {m[0]: m[2] for m in re.findall(r"^    (\S+)    (REG_\w+)    (.*)$",
                                           result.stdout.replace("\r", ""), re.M)}


def unix_path(windows_path):
    return os.path.join(DRIVE_C, *windows_path[len("C:\\"):].split("\\"))


def ours():
    """Every path in the prefix's drive whose name carries the product's or the saver's."""
    marks = (NAMES["PRODUCT"].lower(), NAMES["SAVER_NAME"].lower())
    return [os.path.join(folder, name)
            for folder, folders, files in os.walk(DRIVE_C) for name in folders + files
            if any(mark in name.lower() for mark in marks)]


def traced_boxes(errors):
    """The texts of the boxes shown, in order, from a standard error written under BOX_TRACE
    (Wine writes a text as a C string, with \\xNNNN for a character beyond ASCII)."""
    escapes = {"n": "\n", "r": "\r", "t": "\t"}

    def unescape(match):
        code = match.group(1)
        return chr(int(code[1:], 16)) if len(code) == 5 else escapes.get(code, code)

    return [re.sub(r"\\(x[0-9a-f]{4}|.)", unescape, text) for text in
            re.findall(r':MSGBOX_OnInit L"((?:[^"\\]|\\.)*)"', errors)]


def screen_width():
    x = XConnection()
    try:
        return x.screen_size()[0]
    finally:
        x.close()


def geometry(window):
    """(x, y, width, height) of the X window, or None once it has gone: a window found by a
    search can be destroyed before its geometry is asked for."""
    shell = dict(item.split("=") for item in xdotool("getwindowgeometry", "--shell", window))
    if not all(name in shell for name in ("X", "Y", "WIDTH", "HEIGHT")):
        return None
    return tuple(int(shell[name]) for name in ("X", "Y", "WIDTH", "HEIGHT"))


def box_windows(title):
    """The visible windows titled `title` narrower than the screen (the saver's own window, which
    the product's boxes share a title with, covers it)."""
    width = screen_width()
    found = xdotool("search", "--onlyvisible", "--name", "^%s$" % re.escape(title))
    return [window for window, place in ((w, geometry(w)) for w in found)
            if place is not None and place[2] < width]


class BoxAnswers(threading.Thread):
    """Answers the boxes a run shows, in order: for each (title, key), waits for a box with that
    title, focuses it and presses the key, then waits for the box to go. A key that is none of
    the box's buttons leaves it standing, so the key also checks the buttons."""

    def __init__(self, answers):
        super().__init__(daemon=True)
        self.answers = list(answers)
        self.failure = None
        self.start()

    def run(self):
        try:
            for title, key in self.answers:
                box = wait_for(lambda: box_windows(title), "the box titled %r" % title)[0]
                xdotool("windowfocus", "--sync", box)
                time.sleep(FOCUS_SETTLE)
                xdotool("key", key)
                wait_for(lambda: box not in box_windows(title), "%s to close the box" % key)
        except AssertionError as failure:
            self.failure = failure

    def finish(self):
        self.join(timeout=60)
        check(not self.is_alive(), "the boxes were still being answered")
        if self.failure:
            raise self.failure


def end_with_key(process):
    xdotool("key", "x")


def end_with_travel(process):
    """50 pixels of pointer travel along each axis leave the saver running; 51 end it."""
    xdotool("mousemove", START[0] + 50, START[1] - 50)
    time.sleep(1)
    check(process.poll() is None, "50 pixels of travel ended the saver")
    xdotool("mousemove", START[0], START[1] + 51)


def saver_window(width, height):
    """The saver's window once one titled with the product's name covers the screen."""
    def covering():
        for window in xdotool("search", "--onlyvisible", "--name", "^%s$" % NAMES["PRODUCT"]):
            if geometry(window) == (0, 0, width, height):
                return window
    return wait_for(covering, "a saver window covering the screen")


def shown(errors):
    """The boxes' texts in the trace written so far to the file `errors`."""
    errors.seek(0)
    return traced_boxes(errors.read())


def run_saver(end, screenshot=None, env=ENV, opening=(), closing=()):
    """Starts /s with the pointer at START, checks its window and picture, ends it with `end`;
    its exit code and the texts of the boxes it showed. `opening` are the (title, key) of the
    boxes expected before the show, answered before its picture is checked, and `closing` those
    expected after `end` (see BoxAnswers); `env` replaces ENV for the saver."""
    xdotool("mousemove", *START)
    x = XConnection()
    # Appended to, so that reading it while the saver runs leaves its writes at the end.
    errors = tempfile.TemporaryFile("a+", encoding="utf-8", errors="replace")
    process = subprocess.Popen(["wine", SAVER, "/s"], env=dict(env, WINEDEBUG=BOX_TRACE),
                               stdout=subprocess.DEVNULL, stderr=errors)
    answering = BoxAnswers(opening)  # a set-up's box may come before the window or after it
    try:
        width, height = x.screen_size()
        saver_window(width, height)
        answering.finish()
        time.sleep(2)  # past the first frames, while the context and textures are made
        before = x.screen_sample()
        time.sleep(1)
        check(x.lit_share(0, 0, width, height) > 0.01, "the picture is black")
        check(x.screen_sample() != before, "the picture did not change in a second")
        if screenshot:
            write_screen_png(x, screenshot)
        end(process)
        answering = BoxAnswers(closing)
        try:
            code = process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            raise AssertionError("the saver did not end; its boxes: %s" % shown(errors))
        answering.finish()
        return code, shown(errors)
    finally:
        x.close()
        errors.close()
        if process.poll() is None:  # a failed check: the Windows side ends with the prefix's server
            subprocess.run(["wineserver", "-k"], env=ENV)
            process.wait()


HOST = os.path.join(BUILD, "tests", "win32", "saver_host.exe")


def saver_host(*args):
    """Runs tests/win32's saver_host; what it saw as {name: value}."""
    result = subprocess.run(["wine", HOST] + list(args), env=ENV, timeout=180,
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    return dict(line.split(" ", 1) for line in result.stdout.replace("\r", "").splitlines()
                if " " in line)
