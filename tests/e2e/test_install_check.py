"""The install folder lookup and the data file check, run as the real program: no machine key
gives the error box and no show; a missing data file gives the warning and the show goes on.

Each run uses a copy of the program in a sandbox, so its machine root (etc/vostrel beside the
executable) holds exactly the key the test writes, or none."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from saver_harness import (BUILD_DIR, TITLE, WAIT, Sandbox, check, child_windows,  # noqa: E402
                           install_program, kill_if_running, run_tests, wait_for, wait_for_exit)
from x_windows import XConnection  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "datagen"))
from manifest import MADE_FILES  # noqa: E402

ERROR_TEXT = "Some components are missing or may be damaged.\nPlease re-install Vostrel ScreenSaver."
WARNING_TEXT = ("WARNING: Some components are missing or may be damaged.\n"
                "Vostrel ScreenSaver won't run properly.\nPlease re-install Vostrel ScreenSaver.")
DATA_FILES = list(MADE_FILES.values())  # the program's own list, in its order
SETTLE = 1.0  # seconds for the preview to finish its set-up before its host goes away


def make_install_folder(sandbox, missing=None, lower_case=False):
    """The build's data files linked into a sandbox folder (empty stand-ins where the build
    made none), without `missing`, names optionally all in lower case."""
    folder = os.path.join(sandbox.root, "install")
    for name in DATA_FILES:
        if name == missing:
            continue
        target = os.path.join(folder, name.lower() if lower_case else name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        built = os.path.join(BUILD_DIR, "data", name)
        if os.path.exists(built):
            os.symlink(built, target)
        else:
            open(target, "w").close()
    return folder


def preview_boxes(missing=None, lower_case=False):
    """Runs the preview in a host window until the host goes away; its message boxes."""
    sandbox = Sandbox()
    program = install_program(sandbox.app_dir, make_install_folder(sandbox, missing, lower_case))
    connection = XConnection()
    host = connection.create_window(0, 0, 160, 120)
    process = sandbox.start(["/p", str(host)], program=program)
    try:
        wait_for(lambda: child_windows(host), "the preview window")
        time.sleep(SETTLE)
        connection.destroy(host)
        wait_for_exit(process)
    finally:
        kill_if_running(process)
        connection.close()
    boxes = sandbox.boxes()
    sandbox.close()
    for box in boxes:
        check(box["owner"] == host, "box not owned by the preview window: %r" % box)
    return boxes


def test_no_machine_key_shows_only_the_error():
    connection = XConnection()
    host = connection.create_window(0, 0, 160, 120)
    for args in (["/s"], ["/p", str(host)]):
        sandbox = Sandbox()
        program = install_program(sandbox.app_dir)
        result = sandbox.run(args, timeout=WAIT, program=program)
        check(result.returncode == 0, "%s: exit code %d" % (args, result.returncode))
        boxes = sandbox.boxes()
        check([(b["title"], b["text"], b["icon"], b["buttons"]) for b in boxes] ==
              [(TITLE, ERROR_TEXT, "error", "ok")], "%s: boxes %r" % (args, boxes))
        expected_owner = host if args[0] == "/p" else boxes[0]["owner"]
        check(boxes[0]["owner"] == expected_owner and boxes[0]["owner"] != 0,
              "%s: owner %r" % (args, boxes[0]["owner"]))
        # The run ends before reading the settings, which would create the settings key.
        check(not os.path.exists(sandbox.user_key), "%s: the settings were read" % args)
        sandbox.close()
    connection.destroy(host)
    connection.close()


def test_every_file_present_in_any_letter_case_shows_nothing():
    boxes = preview_boxes(lower_case=True)
    check(boxes == [], "boxes: %r" % boxes)


def test_missing_file_warns_and_the_show_runs():
    for missing in ("data/Vostrel.ttf", "debug.htm"):
        boxes = preview_boxes(missing=missing)
        check([(b["title"], b["text"], b["icon"], b["buttons"]) for b in boxes] ==
              [(TITLE, WARNING_TEXT, "warning", "ok")], "%s missing: boxes %r" % (missing, boxes))


if __name__ == "__main__":
    sys.exit(run_tests([test_no_machine_key_shows_only_the_error,
                        test_every_file_present_in_any_letter_case_shows_nothing,
                        test_missing_file_warns_and_the_show_runs]))
