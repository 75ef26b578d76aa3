"""Run by tests/e2e/test_package.py inside a sway session of scripts/wayland-session.sh
--install, with the package installed: the user enables the installed idle watch, and each
log-in (sway started again, running the user's autostart entries through dex) starts it and it
the saver once the session is idle, each log-out ends it, and once disabled a log-in starts
nothing. Prints the seconds each step took."""
import glob
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from idle_harness import WAIT_SECONDS  # noqa: E402
from saver_harness import check, run_tests, wait_for  # noqa: E402

IDLE = "/usr/bin/vostrel-idle"
SAVER = "/usr/bin/vostrel"
RUNTIME = os.environ["XDG_RUNTIME_DIR"]


def processes(program, parent=None):
    """The pids of the processes running `program` (of `parent`, if given)."""
    found = []
    for entry in os.listdir("/proc"):
        try:
            if not entry.isdigit() or os.readlink("/proc/%s/exe" % entry) != program:
                continue
            with open("/proc/%s/stat" % entry) as f:
                if parent is None or int(f.read().rsplit(")", 1)[1].split()[1]) == parent:
                    found.append(int(entry))
        except OSError:
            continue
    return found


def sway_socket():
    sockets = glob.glob(os.path.join(RUNTIME, "sway-ipc.*.sock"))
    return max(sockets, key=os.path.getmtime) if sockets else None


def log_out():
    """Ends sway as its exit command does, and waits until it has gone."""
    socket = sway_socket()
    # Sway ends before it answers, which swaymsg reports as a failure.
    subprocess.run(["swaymsg", "-s", socket, "exit"], stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    wait_for(lambda: not os.path.exists(socket), "sway to end")


def log_in():
    """Starts sway as a log-in does, and waits for its sockets."""
    subprocess.Popen([os.path.join(os.environ["HOME"], "log-in")])
    display = os.path.join(RUNTIME, os.environ["WAYLAND_DISPLAY"])
    wait_for(lambda: sway_socket() and os.path.exists(display),
             "sway to start")


def check_session_starts_the_saver():
    """The idle watch that the log-in started starts the saver on idleness; the log-out ends
    both."""
    begun = time.time()
    watch = wait_for(lambda: processes(IDLE), "the idle watch to start")
    check(len(watch) == 1, "idle watches: %r" % watch)
    wait_for(lambda: processes(SAVER, parent=watch[0]), "the saver to start",
             timeout=WAIT_SECONDS + 10)
    print("log-in to the saver: %.1f s" % (time.time() - begun))
    begun = time.time()
    log_out()
    wait_for(lambda: not processes(IDLE) and not processes(SAVER),
             "the idle watch and the saver to end at the log-out", timeout=10)
    print("log-out to their end: %.1f s" % (time.time() - begun))


def test_enabled_starts_with_each_log_in_until_disabled():
    try:
        check(processes(IDLE) == [], "an idle watch ran before it was enabled")
        subprocess.run([IDLE, "--enable", "--wait", "%ds" % WAIT_SECONDS], check=True,
                       stdout=subprocess.DEVNULL)
        log_out()
        for _ in range(2):
            log_in()
            check_session_starts_the_saver()
        log_in()
        wait_for(lambda: processes(IDLE), "the idle watch to start")
        subprocess.run([IDLE, "--disable"], check=True, stdout=subprocess.DEVNULL)
        log_out()
        # The watch of the session just ended may take a moment to go; only what a new
        # log-in starts counts.
        wait_for(lambda: not processes(IDLE) and not processes(SAVER),
                 "the idle watch and the saver to end at the log-out", timeout=10)
        log_in()
        deadline = time.time() + WAIT_SECONDS + 2
        while time.time() < deadline:
            check(processes(IDLE) == [] and processes(SAVER) == [],
                  "started after --disable")
            time.sleep(0.2)
    finally:
        if sway_socket():
            log_out()


if __name__ == "__main__":
    sys.exit(run_tests([test_enabled_starts_with_each_log_in_until_disabled]))
