"""Shared helpers for end-to-end tests of the real executables.

Every run gets a private settings folder and finds a fake xdg-open first on PATH that records
what it was asked to open. Its message boxes are the real GTK boxes: the box trace preloaded
into it (tests/e2e/box_trace) notes each box's title, text, kind, buttons and windows, and the
sandbox answers each with a key from a script, as a user would.

A private install is a copy of a program in the sandbox's app folder: the program reads its
machine key from etc/vostrel beside its own executable, so the copy sees exactly the key the
test writes there (or none), and that key names the install folder the test chose.

The screen helpers drive and inspect the X server with xdotool and xwininfo.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

BUILD_DIR = os.environ.get("VOSTREL_BUILD_DIR", os.path.join(os.path.dirname(__file__), "../../build"))
SAVER = os.path.join(BUILD_DIR, "vostrel")
RENDER = os.path.join(BUILD_DIR, "vostrel-render")
BOX_TRACE = os.path.join(BUILD_DIR, "tests", "libbox_trace.so")
# The key that gives each answer in a GTK box: the buttons' mnemonics, and Return for OK.
ANSWER_KEYS = {"yes": "alt+y", "no": "alt+n", "ok": "Return"}
FOCUS_WAIT = 3  # seconds a box has to take the keyboard by itself

TITLE = "Vostrel ScreenSaver"  # the saver window's name and every box's title
MACHINE_KEY = os.path.join("etc", "vostrel", "Software", "Calimor", "VostrelSaver1.1.reg")
USER_KEY = os.path.join("vostrel", "Software", "VostrelSaver.reg")  # below XDG_CONFIG_HOME
# The stored detail level (`part`) for each name the scripts use.
DETAIL_PARTS = {"low": 1035, "medium": 1036, "high": 1037}
# The preview window of the desktops' screen-saver settings, where the preview logo is seen.
HOST_PREVIEW_SIZE = "152x112"
WAIT = 30  # seconds; sanitizer builds start slowly
START = (400, 300)  # where the pointer rests when a full-screen run starts
SHOW_SETTLES = 3.0  # seconds for a full-screen show to be up and drawing
# The programs under test are a sanitized build (`make test-sanitize` sets the options).
SANITIZED = "ASAN_OPTIONS" in os.environ
# How soon a saver ends once its display has died; a sanitized build's leak check at the exit
# takes about half a second more.
DISPLAY_LOSS_ENDS_WITHIN = 2.0 if SANITIZED else 1.0  # seconds

FAKE_XDG_OPEN = """#!/bin/sh
for arg in "$@"; do printf '%s\\n' "$arg" >> "$XDG_OPEN_LOG"; done
"""


class Sandbox:
    """A private home for one run: settings root, box trace, and the fake xdg-open."""

    def __init__(self):
        self._dir = tempfile.TemporaryDirectory(prefix="vostrel-e2e-")
        self.root = self._dir.name
        self.config_home = os.path.join(self.root, "config")
        self.bin_dir = os.path.join(self.root, "bin")
        self.box_log = os.path.join(self.root, "boxes.jsonl")
        self.open_log = os.path.join(self.root, "opened.txt")
        self.app_dir = os.path.join(self.root, "app")  # made by install_program
        # Sound goes nowhere, whatever the machine has; a test may name another driver, or None
        # for whatever the machine offers, as a user's run has.
        self.audio_driver = "dummy"
        # The sandbox answers the boxes; a test that answers them itself turns this off.
        self.answer_boxes = True
        self.answers = []  # the answer given to each box, in order
        self.user_key = os.path.join(self.config_home, USER_KEY)  # made by a run or the test
        os.makedirs(self.config_home)
        os.makedirs(self.bin_dir)
        fake = os.path.join(self.bin_dir, "xdg-open")
        with open(fake, "w") as f:
            f.write(FAKE_XDG_OPEN)
        os.chmod(fake, 0o755)

    def env(self):
        env = dict(os.environ)
        env["XDG_CONFIG_HOME"] = self.config_home
        env["LD_PRELOAD"] = BOX_TRACE
        env["BOX_TRACE_FILE"] = self.box_log
        # The trace is loaded before a sanitized program's own runtime.
        env["ASAN_OPTIONS"] = ":".join(filter(None, [env.get("ASAN_OPTIONS"),
                                                     "verify_asan_link_order=0"]))
        env["XDG_OPEN_LOG"] = self.open_log
        env["PATH"] = self.bin_dir + os.pathsep + env.get("PATH", "")
        if self.audio_driver is not None:
            env["SDL_AUDIODRIVER"] = self.audio_driver
        else:
            env.pop("SDL_AUDIODRIVER", None)
        return env

    def run(self, args, answers="", timeout=60, program=SAVER):
        """Runs the program to its end, answering its boxes in order from the comma-separated
        `answers` ("yes,no"); when they run out a box is answered No (or OK)."""
        process = self.start(args, answers, program)
        try:
            stdout, stderr = process.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.communicate()
            raise
        return subprocess.CompletedProcess(process.args, process.returncode, stdout, stderr)

    def start(self, args, answers="", program=SAVER):
        """Like run, without waiting; end it with wait_for_exit."""
        process = subprocess.Popen([program] + args, env=self.env(),
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        if self.answer_boxes:
            self.answer(process, answers)
        return process

    def answer(self, process, answers=""):
        """Answers the boxes of a run started with this sandbox's environment, as run does."""
        threading.Thread(target=self._answer_boxes, args=(process, answers.split(",")),
                         daemon=True).start()

    def _answer_boxes(self, process, answers):
        answers = [answer for answer in answers if answer]
        while process.poll() is None:
            boxes = self.boxes()
            if len(boxes) <= len(self.answers):
                time.sleep(0.05)
                continue
            box = boxes[len(self.answers)]
            answer = answers.pop(0) if answers else "no"
            answer = "ok" if box["buttons"] == "ok" else answer
            self.answers.append(answer)
            self._press_until_closed(process, box["window"], ANSWER_KEYS[answer])

    @staticmethod
    def _press_until_closed(process, window, key):
        """Presses `key` whenever `window` has the keyboard, until it is gone from the screen.
        A box that has not taken the keyboard after a while is given it, as a click would."""
        window = str(window)
        pressed = False
        started = time.time()
        while process.poll() is None and time.time() < started + WAIT:
            if xdotool("getwindowfocus") == [window]:
                xdotool("key", key)
                pressed = True
                time.sleep(0.3)
            elif pressed and window not in xdotool("search", "--onlyvisible", "--name", "."):
                return
            elif time.time() > started + FOCUS_WAIT:
                xdotool("windowfocus", window)
                time.sleep(0.1)
            else:
                time.sleep(0.05)

    def write_user_settings(self, value_lines=""):
        """Writes the user's settings key holding `value_lines`, REGEDIT4 lines such as
        '"debug"=dword:00000001\\n'."""
        os.makedirs(os.path.dirname(self.user_key))
        with open(self.user_key, "w") as f:
            f.write("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\VostrelSaver]\n" + value_lines)

    def boxes(self):
        """The boxes shown so far, each with the answer it was given once it was."""
        if not os.path.exists(self.box_log):
            return []
        with open(self.box_log) as f:
            boxes = [json.loads(line) for line in f if line.strip()]
        for box, answer in zip(boxes, self.answers):
            box["answer"] = answer
        return boxes

    def error_boxes(self):
        return [b for b in self.boxes() if b["icon"] == "error"]

    def opened(self, wait=0.0):
        """What the fake xdg-open recorded; waits up to `wait` seconds for a first entry,
        since the handler is started without being waited for."""
        deadline = time.time() + wait
        while True:
            if os.path.exists(self.open_log):
                with open(self.open_log) as f:
                    lines = f.read().splitlines()
                if lines:
                    return lines
            if time.time() >= deadline:
                return []
            time.sleep(0.05)

    def close(self):
        self._dir.cleanup()


def reg_string(text):
    """`text` as a quoted REGEDIT4 string value."""
    return '"%s"' % text.replace("\\", "\\\\").replace('"', '\\"')


def start_private_x_server(screen):
    """An Xvfb of the test's own (screen "WxHxD"), on the first free display, that does not reset
    between clients: the process and its display name."""
    read, write = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write), "-screen", "0", screen, "-nolisten", "tcp",
         "+extension", "GLX", "+render", "-noreset"], pass_fds=[write],
        stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as f:
        return server, ":" + f.readline().strip()


def install_program(app_dir, install_folder=None, program=SAVER):
    """Copies `program` alone into a new `app_dir` and, given an install folder, writes the
    machine key beside the copy that names it. Returns the copy's path."""
    os.makedirs(app_dir)
    copy = os.path.join(app_dir, os.path.basename(program))
    shutil.copy2(program, copy)
    if install_folder is not None:
        key = os.path.join(app_dir, MACHINE_KEY)
        os.makedirs(os.path.dirname(key))
        with open(key, "w") as f:
            f.write("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Calimor\\VostrelSaver1.1]\n"
                    '"Path"=%s\n' % reg_string(install_folder))
    return copy


def kill_if_running(process):
    """Kills and reaps a started run that is still going, so that a failed test leaves none."""
    if process.poll() is None:
        process.kill()
        process.wait()


def wait_for_exit(process, timeout=WAIT):
    """Waits for a started run to end by itself (killing it if it does not within `timeout`)
    and checks that it exited with 0; what it wrote on standard error."""
    try:
        process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        kill_if_running(process)
        raise AssertionError("the saver did not end")
    stderr = process.stderr.read().decode(errors="replace")
    check(process.returncode == 0, "exit code %d: %s" % (process.returncode, stderr))
    return stderr


def xdotool(*args):
    """Runs xdotool; its output split into words."""
    return subprocess.run(["xdotool"] + [str(a) for a in args], stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, text=True).stdout.split()


def wait_for(predicate, what, timeout=WAIT, poll=0.1):
    """The first true value of `predicate`, polled every `poll` seconds until `timeout` runs
    out."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(poll)
    raise AssertionError("timed out waiting for " + what)


def saver_windows():
    """The ids of the top-level saver windows on the screen."""
    return xdotool("search", "--name", "^%s$" % TITLE)


def child_windows(parent):
    """The ids (hex) of the saver windows made inside the window `parent`, as a preview's."""
    out = subprocess.run(["xwininfo", "-children", "-id", str(parent)], stdout=subprocess.PIPE,
                         text=True).stdout
    return [line.split()[0] for line in out.splitlines()
            if line.strip().startswith("0x") and TITLE in line]


def focused_saver():
    """Whether a full-screen saver window has the input focus."""
    windows = saver_windows()
    return bool(windows) and xdotool("getwindowfocus") == windows[:1]


def wait_for_focused_saver():
    """Waits until a full-screen saver window has taken the input focus; its id. The saver
    windows are listed anew each time: the window of a run that has just ended may still be
    listed for a moment, and never takes the focus."""
    def focused_saver_window():
        focus = xdotool("getwindowfocus")
        return focus[0] if focus and focus[0] in saver_windows() else None
    window = wait_for(focused_saver_window, "the saver to take the focus")
    time.sleep(0.5)  # the pointer position is recorded right after the focus is taken
    return window


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def run_tests(tests):
    """Runs each test function, printing PASS or FAIL with the failed check's message;
    the exit status for the script: 1 if any failed."""
    failed = 0
    for test in tests:
        try:
            test()
            print("PASS", test.__name__)
        except AssertionError as error:
            failed += 1
            print("FAIL", test.__name__, error)
    return 1 if failed else 0


class CheckList:
    """Checks that note a failure and go on, for scripts whose checks are independent findings
    about one long run: call it like check(), then finish() to exit."""

    def __init__(self):
        self.failures = []

    def __call__(self, condition, what):
        if not condition:
            self.failures.append(what)
            print("FAIL:", what)

    def finish(self):
        if self.failures:
            sys.exit(f"{len(self.failures)} check(s) failed")
        print("ok")
