"""What every Windows test shares: one fresh Wine prefix for the whole run, the program's own
names (read from the header the build gave the installer), the `wine` and `reg` calls, and a run
of the installed saver's /s checked as a user would see it.

Wine passes the environment through, so the saver's message boxes are recorded and answered as
in the Linux tests (VOSTREL_TEST_BOXES, VOSTREL_TEST_ANSWERS).
"""
import json
import os
import re
import subprocess
import sys
import tempfile
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
BOXES = os.path.join(WORK.name, "boxes.jsonl")
# The music needs a sound device: an ALSA one that writes to a file, in the run's own home.
# Without truncation each opening of the device writes a file of its own: SOUND, then SOUND
# with .0001, .0002 and so on.
SOUND = os.path.join(WORK.name, "sound.wav")
with open(os.path.join(WORK.name, ".asoundrc"), "w") as f:
    f.write('pcm.!default { type file; slave.pcm "null"; file "%s"; format "wav"; '
            'truncate false }\n' % SOUND)
ENV = dict(os.environ, WINEPREFIX=PREFIX, WINEDEBUG="-all", HOME=WORK.name,
           # Without the .NET and HTML engines a new prefix takes half the time.
           WINEDLLOVERRIDES="mscoree,mshtml=",
           VOSTREL_TEST_BOXES="Z:" + BOXES.replace("/", "\\"), VOSTREL_TEST_ANSWERS="")
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


def boxes():
    if not os.path.exists(BOXES):
        return []
    with open(BOXES, encoding="utf-8") as f:
        return [json.loads(line) for line in f if line.strip()]


def end_with_key(process):
    xdotool("key", "x")


def end_with_travel(process):
    """50 pixels of pointer travel along each axis leave the saver running; 51 end it."""
    xdotool("mousemove", START[0] + 50, START[1] - 50)
    time.sleep(1)
    check(process.poll() is None, "50 pixels of travel ended the saver")
    xdotool("mousemove", START[0], START[1] + 51)


def run_saver(end, screenshot=None, env=ENV, first=None):
    """Starts /s with the pointer at START, checks its window and picture, ends it with `end`;
    its exit code. `first`, when given, is called with the process before the checks (to
    answer a box that the set-up shows), and `env` replaces ENV for the saver."""
    xdotool("mousemove", *START)
    x = XConnection()
    process = subprocess.Popen(["wine", SAVER, "/s"], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        if first:
            first(process)
        window = wait_for(lambda: xdotool("search", "--onlyvisible", "--name",
                                          "^%s$" % NAMES["PRODUCT"]), "the saver window")[0]
        geometry = dict(item.split("=") for item in
                        xdotool("getwindowgeometry", "--shell", window))
        width, height = x.screen_size()
        check((int(geometry["X"]), int(geometry["Y"]), int(geometry["WIDTH"]),
               int(geometry["HEIGHT"])) == (0, 0, width, height),
              "the window covers %s, not the screen" % geometry)
        time.sleep(2)  # past the first frames, while the context and textures are made
        before = x.screen_sample()
        time.sleep(1)
        check(x.lit_share(0, 0, width, height) > 0.01, "the picture is black")
        check(x.screen_sample() != before, "the picture did not change in a second")
        if screenshot:
            write_screen_png(x, screenshot)
        end(process)
        try:
            return process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            raise AssertionError("the saver did not end")
    finally:
        x.close()
        if process.poll() is None:  # a failed check: the Windows side ends with the prefix's server
            subprocess.run(["wineserver", "-k"], env=ENV)
            process.wait()


HOST = os.path.join(BUILD, "tests", "win32", "saver_host.exe")


def saver_host(*args, record_boxes=True):
    """Runs tests/win32's saver_host; what it saw as {name: value}. Without record_boxes the
    saver shows its boxes for real, as a user meets them."""
    env = dict(ENV)
    if not record_boxes:
        del env["VOSTREL_TEST_BOXES"]
    result = subprocess.run(["wine", HOST] + list(args), env=env, timeout=180,
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    return dict(line.split(" ", 1) for line in result.stdout.replace("\r", "").splitlines()
                if " " in line)
