"""The saver on outputs as a user's desk has them, in the headless sway session of
scripts/wayland-session.sh (sway 1.7 here, 1.10 from Debian 13): scaled outputs drawn at their
real pixels, scales and modes changed during the show, a second monitor plugged in and the
show's own unplugged, a keyboard unplugged and plugged in again, and pointer travel across the
border of two monitors. Music off: the box is another test's business."""
import json
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from saver_harness import (BUILD_DIR, Sandbox, check, install_program, run_tests,  # noqa: E402
                           wait_for)
from wayland_clients import Input  # noqa: E402
from wayland_saver import (KEY_SPACE, background_share, lit, screenshot,  # noqa: E402
                           wait_for_lit)

NO_SOUND = '"pmusic"=dword:00000000\n"pmp3"=dword:00000000\n"pcd"=dword:00000000\n'
FIRST = "HEADLESS-1"
MODE = (1024, 768)
# Buffers the saver attaches, from its protocol trace: wl_shm_pool.create_buffer(id, offset,
# width, height, stride, format), as Mesa's software EGL and the black surfaces make them.
BUFFER = re.compile(r"wl_shm_pool@\d+\.create_buffer\(new id wl_buffer@\d+, \d+, (\d+), (\d+),")


def sway(*command):
    result = subprocess.run(["swaymsg"] + list(command), stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, text=True)
    return result.stdout


def outputs():
    """Sway's active outputs by name."""
    return {o["name"]: o for o in json.loads(sway("-t", "get_outputs", "-r")) if o["active"]}


def plug_in_output():
    """A new headless output, right of the others: its name."""
    before = set(outputs())
    sway("create_output")
    return wait_for(lambda: next(iter(set(outputs()) - before), None), "a new output")


def unplug(name):
    sway("output", name, "unplug")
    wait_for(lambda: name not in outputs(), "%s to go" % name)


def one_output_at_scale_1():
    """The first output alone at scale 1; on sway 1.7 the outputs plugged in before stay."""
    for name in outputs():
        if name != FIRST and newer_sway():
            unplug(name)
    sway("output", FIRST, "enable", "scale", "1", "resolution", "%dx%d" % MODE, "position", "0",
         "0")


def sway_version():
    version = json.loads(sway("-t", "get_version", "-r"))
    return version["major"], version["minor"]


# Sway 1.10 can unplug a headless output; 1.7 cannot (nor even disable one).
def newer_sway():
    return sway_version() >= (1, 10)


def covered_and_lit():
    """Every output of the layout covered (no background) and the show lit somewhere."""
    def look():
        shot = screenshot()
        return shot if background_share(shot) == 0.0 and lit(shot) else None
    return wait_for(look, "every output covered and the show lit")


class Show:
    """The saver with the music off, its Wayland protocol traced to a file."""

    def __init__(self, trace=False):
        self.sandbox = Sandbox()
        self.sandbox.answer_boxes = False
        self.sandbox.write_user_settings(NO_SOUND)
        program = install_program(self.sandbox.app_dir, os.path.join(BUILD_DIR, "data"))
        environment = self.sandbox.env()
        self.trace = os.path.join(self.sandbox.root, "trace.txt")
        if trace:
            environment["WAYLAND_DEBUG"] = "client"
        self.process = subprocess.Popen([program, "/s"], env=environment,
                                        stdout=subprocess.DEVNULL,
                                        stderr=open(self.trace, "w"))

    def buffer_sizes(self):
        with open(self.trace) as f:
            return {(int(w), int(h)) for w, h in BUFFER.findall(f.read())}

    def ends(self):
        """Waits for it to end by itself, with status 0."""
        try:
            self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            raise AssertionError("the saver did not end")
        check(self.process.returncode == 0, "status %d" % self.process.returncode)

    def running(self, settle=1.0):
        time.sleep(settle)
        return self.process.poll() is None

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()
        self.sandbox.close()


def with_show(trace=False):
    def wrap(test):
        def run():
            one_output_at_scale_1()
            show = Show(trace)
            try:
                wait_for_lit()
                test(show)
            finally:
                show.close()
        run.__name__ = test.__name__
        return run
    return wrap


def check_buffers_are_the_outputs_pixels(scale):
    one_output_at_scale_1()
    sway("output", FIRST, "scale", scale)
    show = Show(trace=True)
    try:
        covered_and_lit()
        sizes = show.buffer_sizes()
        print("scale %s: buffers %s" % (scale, sorted(sizes)))
        # Rounding the logical size times the scale may give a pixel more or less.
        check(any(abs(w - MODE[0]) <= 1 and abs(h - MODE[1]) <= 1 for w, h in sizes),
              "no buffer of the output's %dx%d at scale %s: %r" % (MODE + (scale, sizes)))
        check(not any(w < MODE[0] - 1 for w, h in sizes), "a buffer below the output's pixels")
    finally:
        show.close()
        sway("output", FIRST, "scale", "1")


def test_scaled_outputs_are_drawn_at_their_pixels():
    check_buffers_are_the_outputs_pixels("2")
    check_buffers_are_the_outputs_pixels("1.5")


@with_show()
def test_scale_and_mode_changed_during_the_show(show):
    for scale in ("2", "1.5", "1"):
        sway("output", FIRST, "scale", scale)
        covered_and_lit()
        print("scale %s: covered and lit" % scale)
    sway("output", FIRST, "resolution", "1920x1080")
    shot = covered_and_lit()
    check(shot.size == (1920, 1080), "screenshot %r" % (shot.size,))
    check(show.running(), "the saver ended")


@with_show()
def test_a_monitor_plugged_in_and_the_shows_unplugged(show):
    plug_in_output()
    shot = covered_and_lit()
    check(shot.size[0] > MODE[0], "one output in the screenshot: %r" % (shot.size,))
    check(show.running(), "plugging a monitor in ended the saver")
    if not newer_sway():
        print("sway 1.7 cannot unplug a headless output: the show's unplugged is not tried")
        return
    unplug(FIRST)
    first = covered_and_lit()
    time.sleep(1.0)
    check(screenshot().tobytes() != first.tobytes(), "the show does not move on the output left")
    check(show.running(), "unplugging the show's monitor ended the saver")


@with_show()
def test_a_keyboard_unplugged_and_plugged_in_again(show):
    keyboard = Input()
    time.sleep(0.5)
    keyboard.close()
    check(show.running(), "unplugging the keyboard ended the saver")
    keyboard = Input()
    time.sleep(0.5)  # as a user's first key comes a moment after the plug
    try:
        keyboard("keys %d" % KEY_SPACE)
        show.ends()
    finally:
        keyboard.close()


def test_travel_across_the_border_of_two_monitors():
    """The pointer rests at x=1000 of the first of two monitors side by side when the show
    starts; 31 pixels to the right (onto the second) keep it, 60 end it."""
    one_output_at_scale_1()
    plug_in_output()
    pointer = Input()
    sway("seat", "-", "cursor", "set", "1000", "384")
    show = Show()
    try:
        covered_and_lit()
        for distance in (10, 20, 1):
            pointer("move %d 0" % distance)
        check(show.running(), "31 pixels across the border ended it")
        pointer("move 29 0")
        show.ends()
    finally:
        pointer.close()
        show.close()


if __name__ == "__main__":
    # On sway 1.7 the outputs plugged in stay: the tests of one output come first.
    sys.exit(run_tests([test_scaled_outputs_are_drawn_at_their_pixels,
                        test_scale_and_mode_changed_during_the_show,
                        test_a_keyboard_unplugged_and_plugged_in_again,
                        test_a_monitor_plugged_in_and_the_shows_unplugged,
                        test_travel_across_the_border_of_two_monitors]))
