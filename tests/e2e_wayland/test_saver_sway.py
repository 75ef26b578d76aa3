"""The saver on a Wayland desktop, run as the real program with default settings on a machine
without a sound device, inside the headless sway session of scripts/wayland-session.sh: its
overlay surface covers the output over another client's focused window, the music's box is
seen over the show and answered with Return, the show runs, and the exit rules hold with the
tests' own virtual keyboard and pointer (vostrel-test-input)."""
import json
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from saver_harness import (BUILD_DIR, RENDER, Sandbox, check,  # noqa: E402
                           install_program, run_tests, wait_for, wait_for_exit)
from PIL import Image, ImageChops, ImageStat  # noqa: E402
from wayland_clients import Input  # noqa: E402

BACKGROUND = (0x20, 0x40, 0x60)  # the session's output colour
OUTPUT = (1024, 768)
BOX_TITLE = "SHUTDOWN ERROR"


INPUT = Input()
# Linux input codes.
BUTTON_LEFT = 272
KEY_RETURN, KEY_SPACE, KEY_ESCAPE, KEY_LEFT_ALT, KEY_F4 = 28, 57, 1, 56, 62


def sway(*command):
    return subprocess.run(["swaymsg"] + list(command), stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, text=True).stdout


def screenshot():
    path = os.path.join(os.environ["HOME"], "shot.png")
    subprocess.run(["grim", path], check=True)
    with Image.open(path) as image:
        return image.convert("RGB")


def background_share(image):
    pixels = image.getdata()
    return sum(1 for p in pixels if p == BACKGROUND) / len(pixels)


def lit(image):
    return max(max(p) for p in image.getdata()) > 64


def windows():
    """Sway's windows, each a dict with its name, focus and rect."""
    found = []

    def walk(node):
        if node.get("type") in ("con", "floating_con") and node.get("pid"):
            found.append(node)
        for child in node.get("nodes", []) + node.get("floating_nodes", []):
            walk(child)
    walk(json.loads(sway("-t", "get_tree", "-r")))
    return found


def focused_title():
    """The title of the window that has sway's focus; empty when none has it (the keyboard is
    a layer surface's)."""
    return next((w.get("name") or "" for w in windows() if w.get("focused")), "")


def light_share(image, rect):
    """The share of light pixels (a GTK box's face) in a rect of the output."""
    box = image.crop((rect["x"], rect["y"], rect["x"] + rect["width"],
                      rect["y"] + rect["height"]))
    pixels = box.getdata()
    return sum(1 for p in pixels if min(p) > 200) / max(1, len(pixels))


class Saver:
    """`vostrel /s` as a user starts it, over the configuration dialog that has the focus."""

    def __init__(self):
        self.sandbox = Sandbox()
        self.sandbox.audio_driver = None
        self.sandbox.write_user_settings()
        program = install_program(self.sandbox.app_dir, os.path.join(BUILD_DIR, "data"))
        self.dialog = self.sandbox.start(["/c"], program=program)
        wait_for(lambda: focused_title() != "", "the dialog to have the focus")
        self.process = self.sandbox.start(["/s"], program=program)

    def answer_the_box(self):
        """Waits for the music's box over the show, answers it with Return, and waits for the
        show to take the output and the keyboard back."""
        wait_for(lambda: focused_title() == BOX_TITLE, "the box to have the keyboard")
        box = next(w for w in windows() if w.get("name") == BOX_TITLE)
        wait_for(lambda: light_share(screenshot(), box["rect"]) > 0.5, "the box to be seen")
        INPUT("keys %d" % KEY_RETURN)
        wait_for(lambda: focused_title() != BOX_TITLE, "the box to go")
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
            if process.poll() is None:
                process.kill()
            process.wait()
        self.sandbox.close()


def with_saver(test):
    def run():
        saver = Saver()
        try:
            saver.answer_the_box()
            test(saver)
        finally:
            saver.close()
    run.__name__ = test.__name__
    return run


@with_saver
def test_show_covers_the_output_and_runs(saver):
    first = screenshot()
    check(first.size == OUTPUT, "screenshot %r" % (first.size,))
    check(background_share(first) == 0.0, "background shows: %.4f" % background_share(first))
    # The show opens dark; a slow (sanitized) build takes a while to light it.
    second = wait_for(lambda: (lambda shot: shot if lit(shot) else None)(screenshot()),
                      "a lit picture")
    time.sleep(1.0)
    check(screenshot().tobytes() != second.tobytes(), "the picture does not change")
    INPUT("keys %d" % KEY_SPACE)
    saver.ends()


# The renderer's frames that a screenshot taken soon after the show starts can show, and how
# far the picture may stray from one of them: the renderer's frame is scaled up here by PIL and
# on screen by GL, so edges differ by their rounding.
EARLY_FRAMES = "0-200"
MEAN_DIFFERENCE = 1.0  # of 255, over all channels and pixels
STRAY_SHARE = 0.01  # pixels off by more than 8 levels


def closest_frame(shot, folder):
    """The rendered frame nearest to a screenshot: (mean difference, share of pixels off by
    more than 8 levels, file)."""
    best = None
    for name in sorted(os.listdir(folder)):
        with Image.open(os.path.join(folder, name)) as frame:
            scaled = frame.convert("RGB").resize(shot.size, Image.BILINEAR)
        difference = ImageChops.difference(scaled, shot)
        mean = sum(ImageStat.Stat(difference).mean) / 3
        if best is None or mean < best[0]:
            stray = sum(1 for p in difference.getdata() if max(p) > 8)
            best = (mean, stray / (shot.size[0] * shot.size[1]), name)
    return best


@with_saver
def test_pictures_are_the_renderers(saver):
    # The show at 640 x 480 (the default) fills the output scaled, as on X11; the renderer
    # draws the same frames offscreen.
    shot = wait_for(lambda: (lambda s: s if lit(s) else None)(screenshot()), "a lit picture")
    INPUT("keys %d" % KEY_SPACE)
    saver.ends()
    folder = os.path.join(saver.sandbox.root, "frames")
    subprocess.run([RENDER, "--frames", EARLY_FRAMES, "--size", "640x480", "--out", folder],
                   env=saver.sandbox.env(), check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    mean, stray, name = closest_frame(shot, folder)
    check(mean < MEAN_DIFFERENCE and stray < STRAY_SHARE,
          "nearest frame %s: mean difference %.3f, %.4f of pixels off" % (name, mean, stray))


@with_saver
def test_click_ends_it(saver):
    INPUT("click %d" % BUTTON_LEFT)
    saver.ends()


@with_saver
def test_travel(saver):
    # The first move shows where the pointer is: travel counts from there.
    INPUT("move 1 0")
    INPUT("move 30 0")
    check(saver.still_running(), "30 pixels ended it")
    INPUT("move 30 0")
    saver.ends()


@with_saver
def test_alt_f4_keeps_it_and_a_workspace_switch_ends_it(saver):
    INPUT("keys %d %d" % (KEY_LEFT_ALT, KEY_F4))
    check(saver.still_running(), "Alt+F4 ended it")
    sway("workspace", "2")
    saver.ends()


if __name__ == "__main__":
    sys.exit(run_tests([test_show_covers_the_output_and_runs, test_pictures_are_the_renderers,
                        test_click_ends_it, test_travel,
                        test_alt_f4_keeps_it_and_a_workspace_switch_ends_it]))
