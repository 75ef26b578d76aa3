"""Input on mutter for the tests: the keyboard and pointer of a remote-desktop session."""
import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

BUS = "org.gnome.Mutter.RemoteDesktop"
KEY_LEFT_SHIFT = 42


class RemoteInput:
    """A remote-desktop session's keyboard and pointer, on a bus connection of this process's
    own (mutter ends the session when its maker leaves the bus). Mutter makes its devices with
    their first event, which is lost: a Shift goes first."""

    def __init__(self):
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        # A test may end the bus; GIO would end this process with it.
        self.bus.set_exit_on_close(False)
        path = self.call("/org/gnome/Mutter/RemoteDesktop", "", "CreateSession", None)[0]
        self.path = path
        self.call(path, ".Session", "Start", None)
        self.keys(KEY_LEFT_SHIFT)
        self.move(0, 0)

    def call(self, path, interface, method, args):
        return self.bus.call_sync(BUS, path, BUS + interface, method, args, None,
                                  Gio.DBusCallFlags.NONE, -1, None).unpack()

    def keys(self, *codes):
        for code in codes:
            self.call(self.path, ".Session", "NotifyKeyboardKeycode",
                      GLib.Variant("(ub)", (code, True)))
        for code in reversed(codes):
            self.call(self.path, ".Session", "NotifyKeyboardKeycode",
                      GLib.Variant("(ub)", (code, False)))

    def move(self, dx, dy):
        self.call(self.path, ".Session", "NotifyPointerMotionRelative",
                  GLib.Variant("(dd)", (float(dx), float(dy))))

    def click(self, button):
        for pressed in (True, False):
            self.call(self.path, ".Session", "NotifyPointerButton",
                      GLib.Variant("(ib)", (button, pressed)))
