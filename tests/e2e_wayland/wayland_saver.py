"""The saver as a user starts it on a Wayland desktop, for the compositors whose screenshots
grim takes (wlr-screencopy: sway, labwc, cage): the real program with default settings on a
machine without a sound device, the screenshots and the judgements of them, and the waits for
it to end. Each compositor's script adds what its desktop can tell (sway its windows)."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from saver_harness import (BUILD_DIR, Sandbox, check, install_program, wait_for,  # noqa: E402
                           wait_for_exit)
from PIL import Image  # noqa: E402

BACKGROUND = (0x20, 0x40, 0x60)  # the sessions' background colour
# Linux input codes.
BUTTON_LEFT = 272
KEY_RETURN, KEY_SPACE, KEY_ESCAPE, KEY_LEFT_ALT, KEY_F4 = 28, 57, 1, 56, 62


def screenshot():
    path = os.path.join(os.environ["HOME"], "shot.png")
    subprocess.run(["grim", path], check=True)
    with Image.open(path) as image:
        return image.convert("RGB")


def background_share(image):
    pixels = image.getdata()
    return sum(1 for p in pixels if p == BACKGROUND) / len(pixels)


def light_share(image, rect=None):
    """The share of light pixels (a GTK box's face) in a rect (x, y, width, height) of the
    output, or in all of it."""
    if rect is not None:
        x, y, width, height = rect
        image = image.crop((x, y, x + width, y + height))
    pixels = image.getdata()
    return sum(1 for p in pixels if min(p) > 200) / max(1, len(pixels))


def lit(image):
    return max(max(p) for p in image.getdata()) > 64


def wait_for_lit(take=screenshot):
    """A screenshot of the show once it has lit up: it opens dark, and a slow (sanitized)
    build takes a while."""
    return wait_for(lambda: (lambda shot: shot if lit(shot) else None)(take()), "a lit picture")


class Saver:
    """`vostrel /s` as a user starts it, with the music on (the default): on a machine
    without sound its box comes first. With `over_dialog`, over the configuration dialog's
    window, started first and given time to take the keyboard. The build's program, in an
    install folder of the test's own, unless `program` names an installed one."""

    def __init__(self, input_device, over_dialog=None, program=None):
        self.input = input_device
        self.sandbox = Sandbox()
        self.sandbox.audio_driver = None
        self.sandbox.answer_boxes = False  # the box is answered through the compositor's input
        self.sandbox.write_user_settings()
        if program is None:
            program = install_program(self.sandbox.app_dir, os.path.join(BUILD_DIR, "data"))
        self.dialog = None
        if over_dialog is not None:
            self.dialog = self.sandbox.start(["/c"], program=program)
            wait_for(over_dialog, "the dialog to have the focus")
        self.process = self.sandbox.start(["/s"], program=program)

    def answer_the_box(self, box_has_keyboard=None, box_rect=None):
        """Waits for the music's box to be seen over the show (`box_has_keyboard`, where the
        desktop can tell, waits for its focus first), answers it with Return, and waits for the
        show to cover the output again."""
        wait_for(self.sandbox.boxes, "the box")
        if box_has_keyboard is not None:
            wait_for(box_has_keyboard, "the box to have the keyboard")
        wait_for(lambda: light_share(screenshot(), box_rect() if box_rect else None) >
                 (0.5 if box_rect else 0.01), "the box to be seen")
        self.input("keys %d" % KEY_RETURN)
        wait_for(lambda: background_share(screenshot()) == 0.0, "the show over the output")
        time.sleep(0.5)
        check(self.process.poll() is None, "the saver ended with the box")

    def still_running(self, settle=1.5):
        time.sleep(settle)
        return self.process.poll() is None

    def ends(self):
        wait_for_exit(self.process)

    def close(self):
        for process in (self.process, self.dialog):
            if process is not None and process.poll() is None:
                process.kill()
            if process is not None:
                process.wait()
        self.sandbox.close()


def check_covered_and_moving(take=screenshot):
    """The show covers the output, lights up and moves (in screenshots that `take` takes)."""
    first = take()
    check(background_share(first) == 0.0, "background shows: %.4f" % background_share(first))
    second = wait_for_lit(take)
    time.sleep(1.0)
    check(take().tobytes() != second.tobytes(), "the picture does not change")


def check_travel(saver):
    """30 pixels of pointer travel keep the show, 60 end it; the first move shows where the
    pointer is, and travel counts from there."""
    saver.input("move 1 0")
    saver.input("move 30 0")
    check(saver.still_running(), "30 pixels ended it")
    saver.input("move 30 0")
    saver.ends()
