"""vostrel-idle on the desktops whose idle source is the standard idle protocol
(ext_idle_notify_v1): KWin (scripts/wayland-session.sh --kwin) and labwc; it starts the real
saver after its wait with no input, a key through the tests' input ends it, the next stretch of
idleness starts it again, and a window holding an idle inhibitor keeps it away until the window
lets go."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from idle_harness import (check_not_while_inhibited, check_starts_after_the_wait,  # noqa: E402
                          with_run)
from saver_harness import run_tests  # noqa: E402
from wayland_clients import Input, idle_inhibitor  # noqa: E402

INPUT = Input()


@with_run()
def test_starts_after_the_wait_and_again(run):
    check_starts_after_the_wait(run, INPUT.key)


@with_run()
def test_not_while_inhibited(run):
    check_not_while_inhibited(run, idle_inhibitor)


if __name__ == "__main__":
    sys.exit(run_tests([test_starts_after_the_wait_and_again, test_not_while_inhibited]))
