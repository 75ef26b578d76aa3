"""vostrel-idle on an X server of its own (Xvfb), whose idle source is the server's idle
counter: it starts the real saver after its wait with no input and again after the next, input
from xdotool ends the saver and restarts the count, it ends with status 0 when the server goes
away, it refuses a wait that is not one with a message and status 2, a second one of the session
says the first watches and ends, it starts nothing while logind (a stand-in on a private bus)
says the session is locked, it tries no Wayland socket, and once enabled it starts
with the next session (the test runs the user's autostart entries as a desktop does at log-in)
and, disabled, no longer."""
import glob
import os
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from idle_harness import (IDLE, IdleRun, StandInLogind, check_bad_waits_refused,
                          check_not_while_locked, check_second_watch_refused,
                          check_starts_after_the_wait, children)
from saver_harness import (Sandbox, check, install_program, run_tests, start_private_x_server,
                           wait_for)

SCREEN = "1024x768x24"


class Server:
    """A private X server, so that no other test's input moves its idle counter."""

    def __init__(self):
        self.process, self.display = start_private_x_server(SCREEN)

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
def test_second_watch_refused(run, server):
    check_second_watch_refused(run, server.env())


def test_not_while_locked():
    server = Server()
    logind = StandInLogind()
    logind.locked = True
    idle = IdleRun(env=dict(server.env(), **logind.env))
    try:
        check_not_while_locked(idle, logind, server.key)
    finally:
        idle.close()
        logind.close()
        server.close()


def test_opens_no_wayland_socket():
    """With DISPLAY alone, no Wayland socket is tried, not even the default one."""
    server = Server()
    runtime = tempfile.TemporaryDirectory(prefix="vostrel-runtime-")
    trace = os.path.join(runtime.name, "connects")
    env = dict(os.environ, DISPLAY=server.display, XDG_RUNTIME_DIR=runtime.name)
    env.pop("WAYLAND_DISPLAY", None)
    process = subprocess.Popen(["strace", "-f", "-e", "trace=connect", "-o", trace, IDLE,
                                "--wait", "1h"], env=env, stderr=subprocess.DEVNULL)
    try:
        watcher = wait_for(lambda: children(process.pid), "vostrel-idle to start")[0]
        time.sleep(2)
        os.kill(watcher, signal.SIGTERM)  # strace ends with its tracee
        process.wait(timeout=10)
    finally:
        if process.poll() is None:
            process.kill()
        server.close()
    with open(trace) as f:
        connects = f.read()
    runtime.cleanup()
    check("X11-unix" in connects, "no connection to the X server traced: %r" % connects)
    check("wayland" not in connects, "a Wayland socket was tried: %r" % connects)


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


def log_in(sandbox, server):
    """What a desktop does at log-in with the user's autostart entries: runs each one's Exec
    line. The programs started."""
    env = dict(sandbox.env(), **server.env())
    entries = glob.glob(os.path.join(sandbox.config_home, "autostart", "*.desktop"))
    started = []
    for entry in entries:
        with open(entry) as f:
            exec_line = next(line for line in f if line.startswith("Exec="))[len("Exec="):]
        started.append(subprocess.Popen(shlex.split(exec_line), env=env))
    return started


def test_enabled_starts_with_each_session_until_disabled():
    sandbox = Sandbox()
    install_program(sandbox.app_dir)
    program = os.path.join(sandbox.app_dir, "vostrel-idle")
    shutil.copy2(IDLE, program)
    try:
        subprocess.run([program, "--enable", "--wait", "3s"], env=sandbox.env(), check=True,
                       stdout=subprocess.DEVNULL)
        for session in range(2):
            server = Server()
            started = log_in(sandbox, server)
            try:
                check(len(started) == 1, "session %d started %d programs" % (session, len(started)))
                wait_for(lambda: children(started[0].pid), "the saver to start", timeout=15)
            finally:
                server.close()  # the log-out
            started[0].wait(timeout=10)
            check(started[0].returncode == 0, "status %d at the log-out" % started[0].returncode)
        subprocess.run([program, "--disable"], env=sandbox.env(), check=True,
                       stdout=subprocess.DEVNULL)
        server = Server()
        try:
            check(log_in(sandbox, server) == [], "started after --disable")
        finally:
            server.close()
    finally:
        sandbox.close()


if __name__ == "__main__":
    sys.exit(run_tests([test_starts_after_the_wait_and_again, test_second_watch_refused,
                        test_not_while_locked, test_opens_no_wayland_socket,
                        test_ends_with_the_server, test_bad_waits_refused,
                        test_enabled_starts_with_each_session_until_disabled]))
