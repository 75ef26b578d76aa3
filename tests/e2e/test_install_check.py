"""The install folder lookup and the data file check, run as the real program: no machine key
gives the error box and no show; a missing data file gives the warning and the show goes on.

Each run uses a copy of the program in a sandbox, so its machine root (etc/vostrel beside the
executable) holds exactly the key the test writes, or none."""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from saver_harness import BUILD_DIR, SAVER, Sandbox, check  # noqa: E402
from x_windows import XConnection  # noqa: E402

TITLE = "Vostrel ScreenSaver"
ERROR_TEXT = "Some components are missing or may be damaged.\nPlease re-install Vostrel ScreenSaver."
WARNING_TEXT = ("WARNING: Some components are missing or may be damaged.\n"
                "Vostrel ScreenSaver won't run properly.\nPlease re-install Vostrel ScreenSaver.")
DATA_FILES = ["data/Vostrel.ttf", "data/Gz2.xm", "data/bang.wav", "data/bangshrt1.wav",
              "data/bangshrt2.wav", "data/bangshrt3.wav", "data/bangshrt4.wav", "data/env.jpg",
              "data/fire.jpg", "data/Font.jpg", "data/Front.jpg", "data/star.jpg",
              "data/stelle.jpg", "data/stelle2.jpg", "data/Sun.jpg", "data/iconbig.gif",
              "data/VostrelGS1.gif", "data/shad.gif", "data/title.gif", "debug.htm"]
MACHINE_KEY = os.path.join("etc", "vostrel", "Software", "Calimor", "VostrelSaver1.1.reg")
SETTINGS_KEY = os.path.join("vostrel", "Software", "VostrelSaver.reg")
WAIT = 30  # seconds; sanitizer builds start slowly
SETTLE = 1.0  # seconds for the preview to finish its set-up before its host goes away


def copy_program(sandbox, install_folder=None):
    """The program alone in sandbox/app, with a machine key naming install_folder if given."""
    app_dir = os.path.join(sandbox.root, "app")
    os.makedirs(app_dir)
    program = os.path.join(app_dir, "vostrel")
    shutil.copy2(SAVER, program)
    if install_folder is not None:
        os.makedirs(os.path.dirname(os.path.join(app_dir, MACHINE_KEY)))
        with open(os.path.join(app_dir, MACHINE_KEY), "w") as f:
            f.write('REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Calimor\\VostrelSaver1.1]\n'
                    '"Path"="%s"\n' % install_folder.replace("\\", "\\\\").replace('"', '\\"'))
    return program


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


def child_windows(parent):
    out = subprocess.run(["xwininfo", "-children", "-id", str(parent)], stdout=subprocess.PIPE,
                         text=True).stdout
    return [line.split()[0] for line in out.splitlines()
            if line.strip().startswith("0x") and TITLE in line]


def wait_for(predicate, what):
    deadline = time.time() + WAIT
    while time.time() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    raise AssertionError("timed out waiting for " + what)


def preview_boxes(missing=None, lower_case=False):
    """Runs the preview in a host window until the host goes away; its message boxes."""
    sandbox = Sandbox()
    program = copy_program(sandbox, make_install_folder(sandbox, missing, lower_case))
    connection = XConnection()
    host = connection.create_window(0, 0, 160, 120)
    process = subprocess.Popen([program, "/p", str(host)], env=sandbox.env(),
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    try:
        wait_for(lambda: child_windows(host), "the preview window")
        time.sleep(SETTLE)
        connection.destroy(host)
        process.wait(timeout=WAIT)
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
        connection.close()
    check(process.returncode == 0, "exit code %d" % process.returncode)
    boxes = sandbox.boxes()
    sandbox.close()
    for box in boxes:
        check(box["owner"] == host, "box not owned by the preview window: %r" % box)
    return boxes


def test_no_machine_key_shows_only_the_error():
    for args in (["/s"], ["/p", "1234"]):
        sandbox = Sandbox()
        program = copy_program(sandbox)
        result = subprocess.run([program] + args, env=sandbox.env(), timeout=WAIT,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        check(result.returncode == 0, "%s: exit code %d" % (args, result.returncode))
        boxes = sandbox.boxes()
        check([(b["title"], b["text"], b["icon"], b["buttons"]) for b in boxes] ==
              [(TITLE, ERROR_TEXT, "error", "ok")], "%s: boxes %r" % (args, boxes))
        expected_owner = 1234 if args[0] == "/p" else boxes[0]["owner"]
        check(boxes[0]["owner"] == expected_owner and boxes[0]["owner"] != 0,
              "%s: owner %r" % (args, boxes[0]["owner"]))
        # The run ends before reading the settings, which would create the settings key.
        check(not os.path.exists(os.path.join(sandbox.config_home, SETTINGS_KEY)),
              "%s: the settings were read" % args)
        sandbox.close()


def test_every_file_present_in_any_letter_case_shows_nothing():
    boxes = preview_boxes(lower_case=True)
    check(boxes == [], "boxes: %r" % boxes)


def test_missing_file_warns_and_the_show_runs():
    for missing in ("data/Vostrel.ttf", "debug.htm"):
        boxes = preview_boxes(missing=missing)
        check([(b["title"], b["text"], b["icon"], b["buttons"]) for b in boxes] ==
              [(TITLE, WARNING_TEXT, "warning", "ok")], "%s missing: boxes %r" % (missing, boxes))


def main():
    tests = [test_no_machine_key_shows_only_the_error,
             test_every_file_present_in_any_letter_case_shows_nothing,
             test_missing_file_warns_and_the_show_runs]
    failed = 0
    for test in tests:
        try:
            test()
            print("PASS", test.__name__)
        except AssertionError as error:
            failed += 1
            print("FAIL", test.__name__, error)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
