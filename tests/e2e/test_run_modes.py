"""The password answer and the modes that need no window, run as the real program."""
import sys

from saver_harness import Sandbox, check

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
    result = box.run(["-A:77"], answers="yes")
    check(result.returncode == 0, f"exit {result.returncode}")
    check(len(box.boxes()) == 1 and box.boxes()[0]["owner"] == 77, box.boxes())
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


if __name__ == "__main__":
    for name, test in list(globals().items()):
        if name.startswith("test_") and callable(test):
            test()
            print(f"ok {name}")
    sys.exit(0)
