"""The password answer and the modes that need no window, run as the real program."""
import os
import subprocess
import sys

from saver_harness import SAVER, Sandbox, check
from x_windows import XConnection

TITLE = "Vostrel ScreenSaver"
FIRST_QUESTION = ("Password Check not yet implemented.\nDo you wish to e-mail the author asking\n"
                  "to include such feature?")
SECOND_QUESTION = "Mail me anyway?\neheh :-)"


def test_password_no_then_no_opens_nothing():
    box = Sandbox()
    result = box.run(["/a"], answers="no,no")
    check(result.returncode == 0, f"exit {result.returncode}")
    boxes = box.boxes()
    check([b["text"] for b in boxes] == [FIRST_QUESTION, SECOND_QUESTION], boxes)
    for b in boxes:
        check(b["title"] == TITLE and b["icon"] == "question" and b["buttons"] == "yesno", b)
        check(b["owner"] == 0, b)
    check(box.opened(wait=1.0) == [], "something was opened")
    box.close()


def test_password_yes_mails_with_an_encoded_subject():
    box = Sandbox()
    connection = XConnection()
    owner = connection.create_window(0, 0, 160, 120)
    result = box.run([f"-A:{owner}"], answers="yes")
    connection.destroy(owner)
    connection.close()
    check(result.returncode == 0, f"exit {result.returncode}")
    check(len(box.boxes()) == 1 and box.boxes()[0]["owner"] == owner, box.boxes())
    opened = box.opened(wait=5.0)
    check(len(opened) == 1, opened)
    check(opened[0].startswith("mailto:") and opened[0].endswith(
        "?subject=Hey%20man%21%20Your%20screensaver%27s%20got%20no%20password%20check%21"),
        opened)
    box.close()


def test_password_second_yes_mails_the_second_subject():
    box = Sandbox()
    box.run(["/a"], answers="no,yes")
    opened = box.opened(wait=5.0)
    check(len(opened) == 1 and opened[0].endswith(
        "?subject=Hey%20man%2C%20I%20can%27t%20help%20it%21%20I%27ve%20got%20to%20write%20to%20ya%21"),
        opened)
    box.close()


def test_help_without_a_display_names_the_modes_and_the_other_programs():
    # --help is no switch of the saver's, so it asks for the dialog like any unknown one.
    box = Sandbox()
    env = box.env()
    env.pop("DISPLAY", None)
    result = subprocess.run([SAVER, "--help"], env=env, capture_output=True, text=True,
                            timeout=60)
    folder = os.path.dirname(os.path.realpath(SAVER))
    check(result.returncode == 0 and box.boxes() == [], f"exit {result.returncode}")
    for wanted in ("needs a display", "/s ", "/p <id>", "/c ", "/a ",
                   os.path.join(folder, "vostrel-render"), os.path.join(folder, "vostrel-hack")):
        check(wanted in result.stderr, f"--help without a display: no {wanted!r} in "
                                       f"{result.stderr!r}")
    box.close()


if __name__ == "__main__":
    for name, test in list(globals().items()):
        if name.startswith("test_") and callable(test):
            test()
            print(f"ok {name}")
    sys.exit(0)
