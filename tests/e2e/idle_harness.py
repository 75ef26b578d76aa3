"""Shared steps of the tests of vostrel-idle, the program that starts the saver when the
session is idle, whatever the session's idle source: a private install of the real saver with
vostrel-idle beside it (where it looks for the saver), the savers it started (its children),
and the checks every session shares."""
import os
import shutil
import signal
import subprocess
import threading
import time

import gi

from saver_harness import BUILD_DIR, Sandbox, check, install_program, wait_for

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

IDLE = os.path.join(BUILD_DIR, "vostrel-idle")
WAIT_SECONDS = 3
NO_SOUND = '"pmusic"=dword:00000000\n"pmp3"=dword:00000000\n"pcd"=dword:00000000\n'
# A saver that ends at once, as one that crashes: it notes each start.
FAILING_SAVER = """#!/bin/sh
date +%s.%N >> "$(dirname "$0")/starts"
exit 1
"""


def children(pid):
    """The processes whose parent is `pid`."""
    found = []
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open("/proc/%s/stat" % entry) as f:
                    fields = f.read().rsplit(")", 1)[1].split()
            except OSError:
                continue
            if int(fields[1]) == pid:
                found.append(int(entry))
    return found


class IdleRun:
    """vostrel-idle --wait 3s beside a private copy of the saver (or of `saver_script`)."""

    def __init__(self, saver_script=None, env=None):
        self.sandbox = Sandbox()
        self.sandbox.write_user_settings(NO_SOUND)
        # The build's data folder makes it the real show, not the box of a broken install.
        saver = install_program(self.sandbox.app_dir, os.path.join(BUILD_DIR, "data"))
        if saver_script is not None:
            with open(saver, "w") as f:
                f.write(saver_script)
        self.folder = self.sandbox.app_dir
        program = os.path.join(self.folder, "vostrel-idle")
        shutil.copy2(IDLE, program)
        environment = self.sandbox.env()
        environment.update(env or {})
        self.started = time.time()
        self.process = subprocess.Popen([program, "--wait", "%ds" % WAIT_SECONDS],
                                        env=environment, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE)

    def saver(self):
        """The saver it runs, or None."""
        found = children(self.process.pid)
        return found[0] if found else None

    def wait_for_saver(self):
        return wait_for(self.saver, "the saver to start", timeout=WAIT_SECONDS + 10)

    def no_saver_for(self, seconds):
        deadline = time.time() + seconds
        while time.time() < deadline:
            if self.saver() is not None:
                return False
            time.sleep(0.1)
        return True

    def starts(self):
        path = os.path.join(self.folder, "starts")
        if not os.path.exists(path):
            return 0
        with open(path) as f:
            return len(f.read().split())

    def terminate(self):
        """SIGTERM; the seconds it took to end, checking its status and that the saver went
        with it."""
        saver = self.saver()
        begun = time.time()
        self.process.send_signal(signal.SIGTERM)
        self.process.wait(timeout=10)
        took = time.time() - begun
        check(self.process.returncode == 0, "status %d: %s" % (
            self.process.returncode, self.process.stderr.read().decode(errors="replace")))
        if saver is not None:
            check(not os.path.exists("/proc/%d" % saver), "the saver outlived vostrel-idle")
        return took

    def close(self):
        """Ends the run, checking that the savers it started showed no box."""
        boxes = self.sandbox.boxes()
        if self.process.poll() is None:
            # Ended as a session ends it, so that its saver goes too and leaves the next run
            # an empty screen.
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.sandbox.close()
        check(boxes == [], "the saver showed boxes: %r" % boxes)


def check_starts_after_the_wait(run, press_key):
    """The saver starts after the wait with no input, ends on a key, and the next stretch of
    idleness starts it again."""
    saver = run.wait_for_saver()
    waited = time.time() - run.started
    check(waited >= WAIT_SECONDS - 0.5, "started after %.1f s" % waited)
    last_key = end_with_keys(run, saver, press_key)
    saver = run.wait_for_saver()
    check(time.time() - last_key >= WAIT_SECONDS - 0.5, "started again %.1f s after the key" % (
        time.time() - last_key))
    end_with_keys(run, saver, press_key)


def end_with_keys(run, saver, press_key):
    """Keys until the saver ends (a key before it has its window up goes elsewhere); when the
    last key was pressed."""
    pressed = [0.0]

    def gone():
        return not os.path.exists("/proc/%d" % saver) or run.saver() != saver

    def press_and_look():
        press_key()
        pressed[0] = time.time()
        time.sleep(0.5)
        return gone()
    wait_for(lambda: gone() or press_and_look(), "the saver to end on a key")
    return pressed[0]


def check_not_while_inhibited(run, inhibited):
    """No saver while the context manager `inhibited` holds an idle inhibitor (for well past
    the wait: the inhibitor is taken as the run starts), and the saver once it has let go."""
    with inhibited():
        check(run.no_saver_for(WAIT_SECONDS + 2), "the saver started while inhibited")
    run.wait_for_saver()


def check_failing_saver_starts_once_per_wait(run, seconds=7):
    time.sleep(seconds)
    starts = run.starts()
    print("starts of a saver that ends at once, in %d s with a %d s wait: %d" % (
        seconds, WAIT_SECONDS, starts))
    check(1 <= starts <= seconds // WAIT_SECONDS, "%d starts" % starts)


def check_sigterm_ends_it_and_the_saver(run):
    run.wait_for_saver()
    took = run.terminate()
    print("SIGTERM to exit with the saver running: %.2f s" % took)
    check(took < 2.0, "took %.2f s" % took)


def check_second_watch_refused(run, env):
    """A second vostrel-idle of the session (`env`) says the first watches and ends, which goes
    on watching (the first is known to watch once it has started the saver)."""
    saver = run.wait_for_saver()
    result = subprocess.run([IDLE, "--wait", "%ds" % WAIT_SECONDS], env=dict(os.environ, **env),
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=10)
    check(result.returncode != 0 and "already watches" in result.stderr,
          "the second: status %d, %r" % (result.returncode, result.stderr))
    check(run.process.poll() is None and run.saver() == saver, "the first ended")


LOGIN_MANAGER = """<node>
<interface name="org.freedesktop.login1.Manager">
  <method name="GetSession"><arg type="s" direction="in"/><arg type="o" direction="out"/></method>
</interface>
<interface name="org.freedesktop.login1.Session">
  <property name="LockedHint" type="b" access="read"/>
</interface>
</node>"""
SESSION_PATH = "/org/freedesktop/login1/session/_31"


class StandInLogind:
    """logind's session lock on a private bus of the test's own: `env` points a program's
    system bus at it, and `locked` is the session's LockedHint."""

    def __init__(self):
        self.locked = False
        self.daemon = subprocess.Popen(["dbus-daemon", "--session", "--nofork",
                                        "--print-address=1"], stdout=subprocess.PIPE, text=True)
        address = self.daemon.stdout.readline().strip()
        self.env = {"DBUS_SYSTEM_BUS_ADDRESS": address, "XDG_SESSION_ID": "1"}
        self.bus = Gio.DBusConnection.new_for_address_sync(
            address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT |
            Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
        self.bus.set_exit_on_close(False)
        manager, session = Gio.DBusNodeInfo.new_for_xml(LOGIN_MANAGER).interfaces
        self.bus.register_object("/org/freedesktop/login1", manager, self.on_call)
        self.bus.register_object(SESSION_PATH, session, None, self.on_get)
        Gio.bus_own_name_on_connection(self.bus, "org.freedesktop.login1",
                                       Gio.BusNameOwnerFlags.NONE, None, None)
        self.loop = GLib.MainLoop()
        threading.Thread(target=self.loop.run, daemon=True).start()

    def on_call(self, connection, sender, path, interface, method, args, invocation):
        invocation.return_value(GLib.Variant("(o)", (SESSION_PATH,)))

    def on_get(self, connection, sender, path, interface, name):
        return GLib.Variant("b", self.locked)

    def close(self):
        self.loop.quit()
        self.bus.close_sync(None)
        self.daemon.terminate()
        self.daemon.wait()


def check_not_while_locked(run, logind, press_key):
    """No saver while logind says the session is locked, and the saver once it is unlocked
    and a new stretch of idleness has passed."""
    check(run.no_saver_for(WAIT_SECONDS + 2), "the saver started over the lock screen")
    logind.locked = False
    press_key()
    run.wait_for_saver()


def check_bad_waits_refused():
    for wait in ["0", "0s", "-5", "ten", "1.5", "10x", "", "999999"]:
        result = subprocess.run([IDLE, "--wait", wait], stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, text=True, timeout=10)
        check(result.returncode == 2 and "not a wait" in result.stderr,
              "--wait %r: status %d, %r" % (wait, result.returncode, result.stderr))


def with_run(saver_script=None):
    """A test of one IdleRun (of the real saver, or of `saver_script`), closed after it."""
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
