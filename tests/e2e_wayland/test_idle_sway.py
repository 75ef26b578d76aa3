"""vostrel-idle in the headless sway session of scripts/wayland-session.sh, whose idle source
is KDE's idle protocol: it starts the real saver after its wait with no input and again after
the next, never while a window holds an idle inhibitor, ends with SIGTERM together with the
saver, starts a saver that ends at once only once per wait, and ends with status 0 when the
compositor does (the last test: it ends the session)."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from idle_harness import (FAILING_SAVER, check_failing_saver_starts_once_per_wait,  # noqa: E402
                          check_not_while_inhibited, check_sigterm_ends_it_and_the_saver,
                          check_starts_after_the_wait, with_run)
from saver_harness import check, run_tests  # noqa: E402
from wayland_clients import Input, idle_inhibitor  # noqa: E402

INPUT = Input()


@with_run()
def test_starts_after_the_wait_and_again(run):
    check_starts_after_the_wait(run, INPUT.key)


@with_run()
def test_not_while_inhibited(run):
    check_not_while_inhibited(run, idle_inhibitor)


@with_run()
def test_sigterm_ends_it_and_the_saver(run):
    check_sigterm_ends_it_and_the_saver(run)


@with_run(FAILING_SAVER)
def test_failing_saver_starts_once_per_wait(run):
    check_failing_saver_starts_once_per_wait(run)


@with_run()
def test_ends_with_the_compositor(run):
    run.wait_for_saver()
    subprocess.run(["swaymsg", "exit"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    begun = time.time()
    run.process.wait(timeout=10)
    check(run.process.returncode == 0, "status %d" % run.process.returncode)
    print("vostrel-idle ended %.2f s after sway" % (time.time() - begun))


if __name__ == "__main__":
    sys.exit(run_tests([test_starts_after_the_wait_and_again, test_not_while_inhibited,
                        test_sigterm_ends_it_and_the_saver,
                        test_failing_saver_starts_once_per_wait,
                        test_ends_with_the_compositor]))
