"""vostrel-idle on an X server of its own (Xvfb), whose idle source is the server's idle
counter: it starts the real saver after its wait with no input and again after the next, input
from xdotool ends the saver and restarts the count, it ends with status 0 when the server goes
away, and it refuses a wait that is not one with a message and status 2."""
import os
import subprocess
import sys
import time

from idle_harness import IdleRun, check_bad_waits_refused, check_starts_after_the_wait
from saver_harness import check, run_tests

SCREEN = "1024x768x24"


class Server:
    """A private X server, so that no other test's input moves its idle counter."""

    def __init__(self):
        read, write = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", SCREEN, "-nolisten", "tcp",
             "+extension", "GLX", "+render", "-noreset"], pass_fds=[write],
            stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            self.display = ":" + f.readline().strip()

    def env(self):
        return {"DISPLAY": self.display, "WAYLAND_DISPLAY": ""}

    def key(self):
        subprocess.run(["xdotool", "key", "space"], env=dict(os.environ, **self.env()),
                       check=True)

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
        self.process.wait()


def with_server(test):
    def run():
        server = Server()
        idle = IdleRun(env=server.env())
        try:
            test(idle, server)
        finally:
            idle.close()
            server.close()
    run.__name__ = test.__name__
    return run


@with_server
def test_starts_after_the_wait_and_again(run, server):
    check_starts_after_the_wait(run, server.key)


@with_server
def test_ends_with_the_server(run, server):
    run.wait_for_saver()
    server.close()
    begun = time.time()
    run.process.wait(timeout=10)
    check(run.process.returncode == 0, "status %d" % run.process.returncode)
    print("vostrel-idle ended %.2f s after the server" % (time.time() - begun))


def test_bad_waits_refused():
    check_bad_waits_refused()


if __name__ == "__main__":
    sys.exit(run_tests([test_starts_after_the_wait_and_again, test_ends_with_the_server,
                        test_bad_waits_refused]))
