"""The saver where nobody can see it, on sway 1.10 (Debian 13's; 1.7 can neither power a
headless output off nor lock a session): with its output powered off during the show it draws
nothing and costs next to no processor time, it moves again within a second of the output
coming back on, and a key then ends it with status 0. Started behind a lock screen it costs
next to nothing too, and it ends when the lock goes, instead of greeting the user who has just
unlocked."""
import json
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from saver_harness import BUILD_DIR, Sandbox, check, install_program, run_tests  # noqa: E402
from wayland_clients import Input, session_locked  # noqa: E402
from wayland_saver import KEY_SPACE, screenshot, wait_for_lit  # noqa: E402

NO_SOUND = '"pmusic"=dword:00000000\n"pmp3"=dword:00000000\n"pcd"=dword:00000000\n'
OUTPUT = "HEADLESS-1"
MEASURE = 5.0  # seconds of processor time looked at
MOST_WHILE_OFF = 0.05  # of a core
INPUT = Input()


def sway(*command):
    return subprocess.run(["swaymsg"] + list(command), stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, text=True).stdout


def processor_share(pid):
    """The share of a core the process used over MEASURE seconds."""
    def used():
        with open("/proc/%d/stat" % pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
    before = used()
    time.sleep(MEASURE)
    return (used() - before) / MEASURE


def on_sway_1_10(test):
    def run():
        if json.loads(sway("-t", "get_version", "-r"))["minor"] < 10:
            print("SKIP sway 1.7 can neither power a headless output off nor lock a session")
            return
        sandbox = Sandbox()
        sandbox.answer_boxes = False
        sandbox.write_user_settings(NO_SOUND)
        program = install_program(sandbox.app_dir, os.path.join(BUILD_DIR, "data"))
        try:
            test(lambda: sandbox.start(["/s"], program=program))
        finally:
            sandbox.close()
    run.__name__ = test.__name__
    return run


@on_sway_1_10
def test_behind_a_lock(start):
    with session_locked():
        saver = start()
        try:
            time.sleep(2.0)
            share = processor_share(saver.pid)
            print("processor behind the lock: %.1f%% of a core" % (share * 100))
            check(share <= MOST_WHILE_OFF, "%.1f%% behind the lock" % (share * 100))
            check(saver.poll() is None, "the saver ended behind the lock")
        except BaseException:
            saver.kill()
            raise
    unlocked = time.time()
    try:
        saver.wait(timeout=10)
    except subprocess.TimeoutExpired:
        saver.kill()
        saver.wait()
        raise AssertionError("the saver greeted the user after the unlock")
    print("ended %.2f s after the unlock" % (time.time() - unlocked))
    check(saver.returncode == 0, "status %d" % saver.returncode)


@on_sway_1_10
def test_output_powered_off_and_on(start):
    saver = start()
    try:
        wait_for_lit()
        on = processor_share(saver.pid)
        sway("output", OUTPUT, "power", "off")
        time.sleep(0.5)
        off = processor_share(saver.pid)
        print("processor: %.1f%% of a core with the output on, %.1f%% off" % (on * 100,
                                                                              off * 100))
        check(off <= MOST_WHILE_OFF and off <= on / 10, "%.1f%% with the output off" % (off * 100))
        check(saver.poll() is None, "the saver ended with its output off")
        sway("output", OUTPUT, "power", "on")
        first = screenshot()
        time.sleep(1.0)
        check(screenshot().tobytes() != first.tobytes(), "still with the output on again")
        INPUT("keys %d" % KEY_SPACE)
        saver.wait(timeout=30)
        check(saver.returncode == 0, "status %d" % saver.returncode)
    finally:
        if saver.poll() is None:
            saver.kill()
        saver.wait()


if __name__ == "__main__":
    sys.exit(run_tests([test_output_powered_off_and_on, test_behind_a_lock]))
