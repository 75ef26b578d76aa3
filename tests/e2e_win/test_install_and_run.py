"""The Windows saver as a user gets it, under Wine: the installer run silently into a fresh
prefix, the backends' own tests, the offscreen renderer's pictures against Linux's, the saver
started from where Windows lists it, its settings key, its debug report, and the uninstaller.
Run under an X server (xvfb-run) with the build folder as the argument; the steps share one
prefix and run in order, each building on the last.

The names (product, keys, files) are read from the header the build gave the installer, so
they are the program's own. Wine passes the environment through, so the saver's message boxes
are recorded and answered as in the Linux tests (VOSTREL_TEST_BOXES, VOSTREL_TEST_ANSWERS).
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
from saver_harness import check, run_tests, wait_for, xdotool  # noqa: E402
from x_windows import XConnection  # noqa: E402
from screen_png import write_screen_png  # noqa: E402

BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build-win")
PIXEL_IDENTITY = os.path.join(HERE, "..", "..", "bench", "pixel_identity.py")
PIXEL_HASHES = os.path.join(HERE, "..", "e2e", "pixel_hashes.txt")
START = (400, 300)  # where the pointer rests when a run starts
SCREENSHOT = os.environ.get("VOSTREL_WINDOWS_SCREENSHOT")  # where to keep a picture of /s


def installer_names():
    with open(os.path.join(BUILD, "installer-names.nsh")) as f:
        return dict(re.findall(r'^!define (\w+) "(.*)"$', f.read(), re.M))


NAMES = installer_names()
WORK = tempfile.TemporaryDirectory(prefix="vostrel-wine-")
PREFIX = os.path.join(WORK.name, "prefix")
BOXES = os.path.join(WORK.name, "boxes.jsonl")
# The music needs a sound device: an ALSA one that writes to a file, in the run's own home.
with open(os.path.join(WORK.name, ".asoundrc"), "w") as f:
    f.write('pcm.!default { type file; slave.pcm "null"; file "%s"; format "wav" }\n'
            % os.path.join(WORK.name, "sound.wav"))
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


def run_saver(end, screenshot=None):
    """Starts /s with the pointer at START, checks its window and picture, ends it with `end`;
    its exit code."""
    xdotool("mousemove", *START)
    x = XConnection()
    process = subprocess.Popen(["wine", SAVER, "/s"], env=ENV, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
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


def test_silent_install():
    started = time.time()
    result = subprocess.run(["wineboot", "-i"], env=ENV, timeout=180,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    print("  prefix made in %.0f s" % (time.time() - started))
    check(result.returncode == 0, "wineboot failed")
    result = wine(NAMES["SETUP"], "/S")
    check(result.returncode == 0, "the installer exited with %d" % result.returncode)
    folder = (reg_values("HKLM\\" + NAMES["INSTALL_KEY"]) or {}).get("Path")
    check(folder is not None, "no install folder in the machine key")
    state["folder"] = folder
    check(os.path.isfile(unix_path(SAVER)), "the saver is not in the system folder")
    check(any(path.endswith(".lnk") for path in ours()), "no Start menu entry")
    data = NAMES["DATA_DIR"]
    for made_folder, _, files in os.walk(data):
        for name in files:
            relative = os.path.relpath(os.path.join(made_folder, name), data)
            check(os.path.isfile(os.path.join(unix_path(folder), relative)),
                  relative + " is not installed")


def test_backends_own_tests():
    """The Windows backends' GoogleTest program, in the same prefix (it needs no install)."""
    result = wine(os.path.join(BUILD, "tests", "win32", "test_win32.exe"), timeout=300)
    check(result.returncode == 0, "test_win32.exe failed:\n" + result.stdout[-3000:])


def test_renderer_pixels_match_linux():
    """vostrel-render.exe draws the very pictures whose hashes the Linux tests keep, over the
    stretch named in the hashes file's header."""
    with open(PIXEL_HASHES) as f:
        stretch = f.readline().split(":", 1)[1].split()
    wrapper = os.path.join(WORK.name, "vostrel-render")
    with open(wrapper, "w") as f:
        f.write('#!/bin/sh\nexec wine "%s" "$@"\n' % os.path.join(BUILD, "vostrel-render.exe"))
    os.chmod(wrapper, 0o755)
    # The renderer takes the frames' folder as a Unix path, which Wine reads on drive Z:.
    result = subprocess.run([sys.executable, "-B", PIXEL_IDENTITY, wrapper,
                             "--hashes", PIXEL_HASHES] + stretch,
                            env=ENV, cwd="/", stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            text=True, timeout=900)
    verdict = [line for line in result.stdout.splitlines()
               if not line.startswith("vostrel-render:")]  # its progress lines
    check(result.returncode == 0, "the pictures differ from Linux's:\n" + "\n".join(verdict))


def test_saver_runs_until_a_key():
    check(run_saver(end_with_key, SCREENSHOT) == 0, "the saver did not exit with 0")
    check(boxes() == [], "the saver showed boxes: %s" % boxes())


def test_settings_round_trip():
    key = "HKCU\\" + NAMES["SETTINGS_KEY"]
    result = wine("reg", "add", key, "/v", "debug", "/t", "REG_DWORD", "/d", "1", "/f")
    check(result.returncode == 0, "reg add failed")
    check((reg_values(key) or {}).get("debug") == "0x1", "debug did not read back as 1")


def test_debug_report_written_and_pointer_travel():
    page = unix_path(state["folder"] + "\\debug.htm")
    with open(page, encoding="utf-8", errors="replace") as f:
        installed = f.read()
    check(run_saver(end_with_travel) == 0, "the saver in debug mode did not exit with 0")
    with open(page, encoding="utf-8", errors="replace") as f:
        written = f.read()
    check(written != installed and "<!--begin-->" in written and "<!--end-->" in written,
          "the report page was not written between its markers")
    check(len(boxes()) == 1 and boxes()[0]["buttons"] == "yesno",
          "not one question after the debug run: %s" % boxes())


def test_uninstall_leaves_only_settings():
    uninstaller = unix_path(state["folder"] + "\\uninstall.exe")
    check(os.path.isfile(uninstaller), "no uninstaller")
    wine(state["folder"] + "\\uninstall.exe", "/S")
    # The uninstaller copies itself away and returns at once; the copy does the work.
    subprocess.run(["wineserver", "-w"], env=ENV, timeout=60)
    check(ours() == [], "left behind: %s" % ours())
    check(reg_values("HKLM\\" + NAMES["INSTALL_KEY"]) is None, "the machine key is left")
    check(reg_values("HKCU\\" + NAMES["SETTINGS_KEY"]) is not None, "the user's settings are gone")


if __name__ == "__main__":
    status = run_tests([test_silent_install, test_backends_own_tests,
                        test_renderer_pixels_match_linux, test_saver_runs_until_a_key,
                        test_settings_round_trip, test_debug_report_written_and_pointer_travel,
                        test_uninstall_leaves_only_settings])
    subprocess.run(["wineserver", "-k"], env=ENV)
    WORK.cleanup()
    sys.exit(status)
