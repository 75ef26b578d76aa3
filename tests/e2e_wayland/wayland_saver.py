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
from PIL import Image, ImageChops  # noqa: E402

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
    return share_of(image, BACKGROUND)


def light_share(image, rect=None):
    """The share of light pixels (a GTK box's face) in a rect (x, y, width, height) of the
    output, or in all of it."""
    if rect is not None:
        x, y, width, height = rect
        image = image.crop((x, y, x + width, y + height))
    pixels = image.getdata()
    return sum(1 for p in pixels if min(p) > 200) / max(1, len(pixels))


def light_rect(image, least=30):
    """The rect (x, y, width, height) of the rows and columns with at least `least` light
    pixels (a box's face; the pointer has fewer), or None."""
    light = [band.point(lambda v: 255 if v > 200 else 0) for band in image.split()]
    mask = ImageChops.darker(ImageChops.darker(light[0], light[1]), light[2])
    width, height = mask.size
    pixels = mask.load()
    rows = [y for y in range(height) if sum(pixels[x, y] > 0 for x in range(width)) >= least]
    columns = [x for x in range(width) if sum(pixels[x, y] > 0 for y in range(height)) >= least]
    if not rows or not columns:
        return None
    return columns[0], rows[0], columns[-1] - columns[0] + 1, rows[-1] - rows[0] + 1


def share_of(image, colour):
    pixels = image.getdata()
    return sum(1 for p in pixels if p == colour) / len(pixels)


def lit(image):
    return max(max(p) for p in image.getdata()) > 64


def wait_for_lit(take=screenshot):
    """A screenshot of the show once it has lit up: it opens dark, and a slow (sanitized)
    build takes a while."""
    return wait_for(lambda: (lambda shot: shot if lit(shot) else None)(take()), "a lit picture")


def seen_box():
    """A screenshot with the box's face in it, and the face's rect; None before it is seen."""
    shot = screenshot()
    rect = light_rect(shot)
    return (shot, rect) if rect and light_share(shot, rect) > 0.5 else None


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

    def answer_the_box(self, uncovered=(BACKGROUND,)):
        """Waits for the music's box to be seen over the show, which covers the rest of the
        output (no pixel of an `uncovered` colour: the desktop's, a window's under the show),
        answers it with Return, and waits for the box to go."""
        wait_for(self.sandbox.boxes, "the box")
        shot, rect = wait_for(seen_box, "the box to be seen")
        for colour in uncovered:
            check(share_of(shot, colour) == 0.0,
                  "%.4f of the output shows %r around the box" % (share_of(shot, colour), colour))
        self.input("keys %d" % KEY_RETURN)
        wait_for(lambda: light_share(screenshot(), rect) < 0.5, "the box to go")
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


def with_saver(input_device, over_dialog=None):
    """Runs a test with a Saver (as Saver takes them) whose box has been answered."""
    def wrap(test):
        def run():
            saver = Saver(input_device, over_dialog)
            try:
                saver.answer_the_box()
                test(saver)
            finally:
                saver.close()
        run.__name__ = test.__name__
        return run
    return wrap


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
