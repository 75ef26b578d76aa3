"""The saver on a Wayland desktop, run as the real program with default settings on a machine
without a sound device, inside the headless sway session of scripts/wayland-session.sh: its
overlay surface covers the output over another client's focused window, the music's box is
seen over the show (which covers the rest of the output) and answered with Return, over a
fullscreen application too, which no key reaches, the show runs, and the exit rules hold with
the tests' own virtual keyboard and pointer (vostrel-test-input)."""
import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from saver_harness import RENDER, check, run_tests  # noqa: E402
from PIL import Image, ImageChops, ImageStat  # noqa: E402
from wayland_clients import FullscreenApplication, Input  # noqa: E402
from wayland_saver import (BACKGROUND, BUTTON_LEFT, KEY_F4, KEY_LEFT_ALT,  # noqa: E402
                           KEY_SPACE, Saver, check_covered_and_moving, check_travel, screenshot,
                           wait_for_lit, with_saver)

OUTPUT = (1024, 768)
KEY_A = 30
INPUT = Input()


def sway(*command):
    return subprocess.run(["swaymsg"] + list(command), stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, text=True).stdout


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


SAVER = with_saver(INPUT, over_dialog=lambda: focused_title() != "")


def test_box_over_a_fullscreen_application():
    application = FullscreenApplication()
    saver = None
    try:
        INPUT("keys %d" % KEY_A)
        check(application.next_key() == KEY_A, "the application did not have the keyboard")
        saver = Saver(INPUT)
        saver.answer_the_box(uncovered=(BACKGROUND, FullscreenApplication.ORANGE))
        INPUT("keys %d" % KEY_SPACE)
        saver.ends()
    finally:
        if saver is not None:
            saver.close()
        keys = application.close()
    check(keys == [], "the application was sent %r" % keys)


@SAVER
def test_show_covers_the_output_and_runs(saver):
    check(screenshot().size == OUTPUT, "screenshot %r" % (screenshot().size,))
    check_covered_and_moving()
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


@SAVER
def test_pictures_are_the_renderers(saver):
    # The show at 640 x 480 (the default) fills the output scaled, as on X11; the renderer
    # draws the same frames offscreen.
    shot = wait_for_lit()
    INPUT("keys %d" % KEY_SPACE)
    saver.ends()
    folder = os.path.join(saver.sandbox.root, "frames")
    subprocess.run([RENDER, "--frames", EARLY_FRAMES, "--size", "640x480", "--out", folder],
                   env=saver.sandbox.env(), check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    mean, stray, name = closest_frame(shot, folder)
    check(mean < MEAN_DIFFERENCE and stray < STRAY_SHARE,
          "nearest frame %s: mean difference %.3f, %.4f of pixels off" % (name, mean, stray))


@SAVER
def test_click_ends_it(saver):
    INPUT("click %d" % BUTTON_LEFT)
    saver.ends()


@SAVER
def test_travel(saver):
    check_travel(saver)


@SAVER
def test_alt_f4_keeps_it_and_a_workspace_switch_ends_it(saver):
    INPUT("keys %d %d" % (KEY_LEFT_ALT, KEY_F4))
    check(saver.still_running(), "Alt+F4 ended it")
    sway("workspace", "2")
    saver.ends()


if __name__ == "__main__":
    sys.exit(run_tests([test_box_over_a_fullscreen_application,
                        test_show_covers_the_output_and_runs, test_pictures_are_the_renderers,
                        test_click_ends_it, test_travel,
                        test_alt_f4_keeps_it_and_a_workspace_switch_ends_it]))
