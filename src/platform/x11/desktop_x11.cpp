// Desktop and foreground windows on Linux, read from the X server: the desktop window is the root
// window of the default screen; the foreground window is the one that _NET_ACTIVE_WINDOW names (0
// without a window manager or display).
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "platform/desktop.h"
#include "platform/x11/x11_window_system.h"

namespace x11 {

namespace {

// A short-lived connection: these are asked once, before any window of ours exists.
struct DisplayConnection {
    Display* display = XOpenDisplay(nullptr);
    ~DisplayConnection() {
        if (display != nullptr) XCloseDisplay(display);
    }
};

}  // namespace

WindowId DesktopWindow() {
    DisplayConnection connection;
    if (connection.display == nullptr) return 0;
    return DefaultRootWindow(connection.display);
}

WindowId ForegroundWindow() {
    DisplayConnection connection;
    if (connection.display == nullptr) return 0;
    Display* display = connection.display;
    Atom active = XInternAtom(display, "_NET_ACTIVE_WINDOW", True);
    if (active == None) return 0;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    WindowId window = 0;
    if (XGetWindowProperty(display, DefaultRootWindow(display), active, 0, 1, False, XA_WINDOW,
                           &type, &format, &count, &remaining, &data) == Success &&
        type == XA_WINDOW && format == 32 && count == 1) {
        window = *reinterpret_cast<unsigned long*>(data);
    }
    if (data != nullptr) XFree(data);
    return window;
}

}  // namespace x11
