#!/usr/bin/env python3
"""Wake-ups of vostrel-idle while it waits for the session to turn idle.

Runs each given vostrel-idle with a wait far longer than the run (a day, written as every
build takes it), in the session the bench runs in, and counts its threads' voluntary context
switches (each a sleep ended by a wake-up) over `seconds` once it has settled. Prints one line
per program: wake-ups in the run and per minute.

    xvfb-run -a env -u WAYLAND_DISPLAY python3 bench/idle_wakeups.py [seconds] build/vostrel-idle
    scripts/wayland-session.sh --sway python3 bench/idle_wakeups.py [seconds] build/vostrel-idle
    scripts/wayland-session.sh --mutter python3 bench/idle_wakeups.py [seconds] build/vostrel-idle

Pass another build's vostrel-idle beside it to compare two builds in one session.
"""
import glob
import os
import subprocess
import sys
import time

SETTLE_SECONDS = 2.0

arguments = sys.argv[1:]
seconds = float(arguments.pop(0)) if arguments and arguments[0].replace(".", "").isdigit() else 30.0
programs = [os.path.abspath(p) for p in arguments] or [os.path.abspath("build/vostrel-idle")]


def voluntary_switches(pid):
    total = 0
    for status in glob.glob(f"/proc/{pid}/task/*/status"):
        try:
            with open(status) as f:
                for line in f:
                    if line.startswith("voluntary_ctxt_switches:"):
                        total += int(line.split()[1])
        except OSError:
            continue  # a thread that ended meanwhile
    return total


def wakeups(program):
    process = subprocess.Popen([program, "--wait", "1440"], stdout=subprocess.DEVNULL)
    try:
        time.sleep(SETTLE_SECONDS)
        if process.poll() is not None:
            sys.exit(f"{program} ended with status {process.returncode}")
        before = voluntary_switches(process.pid)
        time.sleep(seconds)
        return voluntary_switches(process.pid) - before
    finally:
        process.terminate()
        process.wait()


session = "wayland " + os.environ["WAYLAND_DISPLAY"] if os.environ.get("WAYLAND_DISPLAY") else \
    "X11 " + os.environ.get("DISPLAY", "?")
for program in programs:
    count = wakeups(program)
    print(f"{program} on {session}: {count} wake-ups in {seconds:.0f} s "
          f"({count * 60 / seconds:.0f} a minute)", flush=True)
