"""The installed saver as a user meets it: /s with its window and picture, the keys and pointer
travel that end it and the keys that do not, the warning for a missing data file, the debug
setting written with `reg` and the report it makes; the preview in a window of another
program's; the dialog's 3D test.
"""
import os
import re
import subprocess
import time

from saver_harness import check, xdotool
from wine_prefix import (ENV, HOST, NAMES, SAVER, SCREENSHOT, end_with_key,
                         end_with_travel, reg_values, run_saver, saver_host, state, unix_path,
                         wine)

# Longer than a key's way to the end of the process under Wine, which takes about 2 s.
KEY_TO_EXIT = 4
MISSING_WARNING = ("WARNING: Some components are missing or may be damaged.\nVostrel "
                   "ScreenSaver won't run properly.\nPlease re-install Vostrel ScreenSaver.")
# The front of the offer that follows a debug run (Wine's trace keeps a long text's front only).
DEBUG_OFFER = ("DEBUG.HTM has been saved to program folder.\n\nDo you wish to edit debug "
               "information now?")


def test_saver_runs_until_a_key():
    ran = run_saver(end_with_key, SCREENSHOT)
    check(ran == (0, []), "exit code and boxes: %s, %s" % ran)


def test_system_keys_do_not_end_the_saver():
    def end(process):
        # Alt alone or with a key, and F10, reach the window as system keys; Alt+F4 asks it to
        # close through the system menu.
        xdotool("key", "alt+x", "F10", "alt+F4", "alt")
        time.sleep(KEY_TO_EXIT)
        check(process.poll() is None, "a system key ended the saver")
        end_with_key(process)

    ran = run_saver(end)
    check(ran == (0, []), "exit code and boxes: %s, %s" % ran)


def test_missing_data_file_warns_and_the_show_runs():
    font = unix_path(state["folder"] + "\\data\\Vostrel.ttf")
    os.rename(font, font + ".away")
    try:
        ran = run_saver(end_with_key, opening=[(NAMES["PRODUCT"], "Return")])
    finally:
        os.rename(font + ".away", font)
    check(ran == (0, [MISSING_WARNING]), "not the one warning answered: %s, %s" % ran)


def test_preview_runs_until_its_window_goes():
    seen = saver_host("preview", SAVER, "2")
    check(seen.get("preview") == "1", "no preview window in the host's: %s" % seen)
    # A key and a click went to the host while the preview ran.
    check(seen.get("running") == "1", "the preview ended before its window went: %s" % seen)
    check(seen.get("foreground_is_host") == "1" and seen.get("focus_is_preview") == "0",
          "the preview took the keyboard: %s" % seen)
    check(seen.get("mutex") == "open" and seen.get("mutex_owned") == "0",
          "the preview does not hold the mutex unowned: %s" % seen)
    check(seen.get("exit") == "0", "the preview did not exit with 0 when its window went: %s"
          % seen)
    check(seen.get("boxes") == "0", "the preview showed a box: %s" % seen)


def test_preview_ends_when_its_host_is_killed():
    """The host killed outright never destroys its window: the preview ends all the same."""
    host = subprocess.Popen(["wine", HOST, "window"], env=ENV, stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, text=True)
    preview = None
    try:
        said = host.stdout.readline().split()
        check(said[:1] == ["window"], "the host said %s" % said)
        preview = subprocess.Popen(["wine", SAVER, "/p", said[1]], env=ENV,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(KEY_TO_EXIT)
        check(preview.poll() is None, "the preview ended before its host")
        host.kill()
        host.wait()
        try:
            check(preview.wait(timeout=30) == 0, "the preview exited with %d" % preview.returncode)
        except subprocess.TimeoutExpired:
            raise AssertionError("the preview outlived its host by 30 s")
    finally:
        for process in (host, preview):
            if process is not None and process.poll() is None:
                process.kill()
                process.wait()


def test_hardware_test_verdict():
    """Wine's own pixel format has neither generic flag: the driver's verdict, in a real box."""
    seen = saver_host("test", SAVER)
    check(seen.get("dialog") == "1", "no configuration dialog: %s" % seen)
    check(seen.get("box") == "3D Hardware Acceleration Test OK.", "the verdict: %s" % seen)
    check(seen.get("exit") == "0", "the dialog did not exit with 0: %s" % seen)


def set_debug(value):
    """Sets the debug setting with the system's own tool and reads it back with it."""
    key = "HKCU\\" + NAMES["SETTINGS_KEY"]
    result = wine("reg", "add", key, "/v", "debug", "/t", "REG_DWORD", "/d", str(value), "/f")
    check(result.returncode == 0, "reg add failed")
    check((reg_values(key) or {}).get("debug") == hex(value),
          "debug did not read back as %d" % value)


def test_debug_report_written_and_pointer_travel():
    """debug, set by `reg add`, is read by the run, which writes its report and asks whether to
    show it: a yes/no question, which `n` answers No (and the page stays closed)."""
    set_debug(1)
    page = unix_path(state["folder"] + "\\debug.htm")
    with open(page, "rb") as f:
        installed = f.read()
    code, asked = run_saver(end_with_travel, closing=[(NAMES["PRODUCT"], "n")])
    check(code == 0, "the saver in debug mode did not exit with 0")
    with open(page, "rb") as f:
        written = f.read()
    check(written != installed and b"<!--begin-->" in written and b"<!--end-->" in written,
          "the report page was not written between its markers")
    check(re.search(rb"(?<!\r)\n", written) is None, "a line of the page ends without CR")
    check(len(asked) == 1 and asked[0].startswith(DEBUG_OFFER),
          "not the one offer after the debug run: %s" % asked)
    set_debug(0)


TESTS = [test_saver_runs_until_a_key, test_system_keys_do_not_end_the_saver,
         test_missing_data_file_warns_and_the_show_runs, test_preview_runs_until_its_window_goes,
         test_preview_ends_when_its_host_is_killed,
         test_hardware_test_verdict, test_debug_report_written_and_pointer_travel]
