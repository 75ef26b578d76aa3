"""The saver on the wlroots desktops that cannot tell which window has the keyboard, both
Debian 13's (scripts/wayland-session.sh --debian13): labwc, with layer-shell like sway, and
cage, a kiosk that shows one fullscreen window: the music's box is seen over the show and
answered with Return, the show then covers the output and moves, and a key, a click and 60
pixels of travel end it."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from saver_harness import run_tests  # noqa: E402
from wayland_clients import Input  # noqa: E402
from wayland_saver import (BUTTON_LEFT, KEY_SPACE, check_covered_and_moving,  # noqa: E402
                           check_travel, with_saver)

INPUT = Input()
SAVER = with_saver(INPUT)


@SAVER
def test_show_covers_the_output_and_a_key_ends_it(saver):
    check_covered_and_moving()
    INPUT("keys %d" % KEY_SPACE)
    saver.ends()


@SAVER
def test_click_ends_it(saver):
    INPUT("click %d" % BUTTON_LEFT)
    saver.ends()


@SAVER
def test_travel(saver):
    check_travel(saver)


if __name__ == "__main__":
    sys.exit(run_tests([test_show_covers_the_output_and_a_key_ends_it, test_click_ends_it,
                        test_travel]))
