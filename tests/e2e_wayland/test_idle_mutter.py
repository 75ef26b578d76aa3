"""vostrel-idle on GNOME's compositor (mutter, headless, run by scripts/wayland-session.sh
--mutter), which offers no Wayland idle protocol: its idle source is mutter's idle monitor on
the session bus. It starts the real saver after its wait with no input and again after the
next, and not while the session manager says idleness is inhibited (the test's own stand-in
for GNOME's session manager, which the headless session lacks), and it ends with status 0,
ending the saver, when the session bus goes away (the last test: it ends the session)."""
import contextlib
import os
import signal
import sys
import threading
import time

import gi

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from idle_harness import (check_not_while_inhibited, check_starts_after_the_wait,  # noqa: E402
                          with_run)
from mutter_input import RemoteInput  # noqa: E402
from saver_harness import check, run_tests  # noqa: E402

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

KEY_SPACE = 57
INPUT = RemoteInput()
SESSION_MANAGER = """<node><interface name="org.gnome.SessionManager">
  <method name="IsInhibited"><arg type="u" direction="in"/><arg type="b" direction="out"/></method>
  <signal name="InhibitorRemoved"><arg type="o"/></signal>
</interface></node>"""
INHIBITOR_PATH = "/org/gnome/SessionManager/Inhibitor1"
INHIBIT_IDLE = 8


class SessionManager:
    """org.gnome.SessionManager with one idle inhibitor while `inhibited` is set, which says
    when it lets go as GNOME's does."""

    def __init__(self):
        self.inhibited = False
        self.loop = GLib.MainLoop()
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        self.bus.set_exit_on_close(False)  # the last test ends the bus
        info = Gio.DBusNodeInfo.new_for_xml(SESSION_MANAGER).interfaces[0]
        self.bus.register_object("/org/gnome/SessionManager", info, self.on_call)
        Gio.bus_own_name_on_connection(self.bus, "org.gnome.SessionManager",
                                       Gio.BusNameOwnerFlags.NONE, None, None)
        threading.Thread(target=self.loop.run, daemon=True).start()

    def on_call(self, connection, sender, path, interface, method, args, invocation):
        flags = args.unpack()[0]
        invocation.return_value(GLib.Variant(
            "(b)", (self.inhibited and bool(flags & INHIBIT_IDLE),)))


MANAGER = SessionManager()


@with_run()
def test_starts_after_the_wait_and_again(run):
    check_starts_after_the_wait(run, lambda: INPUT.keys(KEY_SPACE))


@contextlib.contextmanager
def session_inhibitor():
    MANAGER.inhibited = True
    try:
        yield
    finally:
        MANAGER.inhibited = False
        MANAGER.bus.emit_signal(None, "/org/gnome/SessionManager", "org.gnome.SessionManager",
                                "InhibitorRemoved", GLib.Variant("(o)", (INHIBITOR_PATH,)))


@with_run()
def test_not_while_inhibited(run):
    check_not_while_inhibited(run, session_inhibitor)


def session_bus_daemon():
    for entry in os.listdir("/proc"):
        try:
            if entry.isdigit() and os.readlink("/proc/%s/exe" % entry) == "/usr/bin/dbus-daemon":
                return int(entry)
        except OSError:
            continue
    return None


@with_run()
def test_ends_with_the_session_bus(run):
    saver = run.wait_for_saver()
    os.kill(session_bus_daemon(), signal.SIGTERM)
    begun = time.time()
    run.process.wait(timeout=10)
    check(run.process.returncode == 0, "status %d" % run.process.returncode)
    check(not os.path.exists("/proc/%d" % saver), "the saver outlived vostrel-idle")
    print("vostrel-idle ended %.2f s after the session bus" % (time.time() - begun))


if __name__ == "__main__":
    sys.exit(run_tests([test_starts_after_the_wait_and_again, test_not_while_inhibited,
                        test_ends_with_the_session_bus]))
