"""vostrel-idle in the headless sway session of scripts/wayland-session.sh, whose idle source
is KDE's idle protocol: it starts the real saver after its wait with no input and again after
the next, never while a window holds sway's idle inhibitor, ends with SIGTERM together with
the saver, starts a saver that ends at once only once per wait, and ends with status 0 when
the compositor does (the last test: it ends the session)."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from idle_harness import (WAIT_SECONDS, FAILING_SAVER, IdleRun,  # noqa: E402
                          check_failing_saver_starts_once_per_wait, check_starts_after_the_wait,
                          check_sigterm_ends_it_and_the_saver)
from saver_harness import BUILD_DIR, check, run_tests, wait_for  # noqa: E402

KEY_SPACE = 57


class Input:
    """The tests' virtual keyboard (vostrel-test-input), alive for the whole script."""

    def __init__(self):
        self.process = subprocess.Popen([os.path.join(BUILD_DIR, "vostrel-test-input")],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)

    def key(self):
        self.process.stdin.write("keys %d\n" % KEY_SPACE)
        self.process.stdin.flush()
        check(self.process.stdout.readline().strip() == "ok", "the input")


INPUT = Input()


def sway(*command):
    return subprocess.run(["swaymsg"] + list(command), stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, text=True)


def with_run(saver_script=None):
    def wrap(test):
        def run():
            idle = IdleRun(saver_script)
            try:
                test(idle)
            finally:
                idle.close()
        run.__name__ = test.__name__
        return run
    return wrap


@with_run()
def test_starts_after_the_wait_and_again(run):
    check_starts_after_the_wait(run, INPUT.key)


@with_run()
def test_not_while_inhibited(run):
    # A window of the saver's own settings dialog, held by sway's inhibitor while open.
    run.sandbox.answer_boxes = False
    dialog = run.sandbox.start(["/c"], program=os.path.join(run.folder, "vostrel"))
    try:
        wait_for(lambda: sway("[pid=%d]" % dialog.pid, "inhibit_idle", "open").returncode == 0,
                 "the dialog's window")
        check(run.no_saver_for(WAIT_SECONDS * 2 + 1), "the saver started while inhibited")
    finally:
        dialog.kill()
        dialog.wait()
    run.wait_for_saver()


@with_run()
def test_sigterm_ends_it_and_the_saver(run):
    check_sigterm_ends_it_and_the_saver(run)


@with_run(FAILING_SAVER)
def test_failing_saver_starts_once_per_wait(run):
    check_failing_saver_starts_once_per_wait(run)


@with_run()
def test_ends_with_the_compositor(run):
    run.wait_for_saver()
    sway("exit")
    begun = time.time()
    run.process.wait(timeout=10)
    check(run.process.returncode == 0, "status %d" % run.process.returncode)
    print("vostrel-idle ended %.2f s after sway" % (time.time() - begun))


if __name__ == "__main__":
    sys.exit(run_tests([test_starts_after_the_wait_and_again, test_not_while_inhibited,
                        test_sigterm_ends_it_and_the_saver,
                        test_failing_saver_starts_once_per_wait,
                        test_ends_with_the_compositor]))
