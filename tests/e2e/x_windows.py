"""Plain X windows for end-to-end tests, made through libX11 with ctypes: a host window for
the preview and a window to hand the input focus to. No toolkit, nothing to install."""
import ctypes
import ctypes.util

_xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
_xlib.XOpenDisplay.restype = ctypes.c_void_p
_xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
_xlib.XDefaultRootWindow.restype = ctypes.c_ulong
_xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_xlib.XCreateSimpleWindow.restype = ctypes.c_ulong
_xlib.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                      ctypes.c_uint, ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong,
                                      ctypes.c_ulong]
for _name in ("XMapRaised", "XDestroyWindow"):
    getattr(_xlib, _name).argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_xlib.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong]
_xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
_xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]

_xlib.XInternAtom.restype = ctypes.c_ulong
_xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
_xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                             ctypes.c_void_p]

_xlib.XGrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                              ctypes.c_int, ctypes.c_ulong]
_xlib.XUngrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong]

_xfixes = ctypes.CDLL(ctypes.util.find_library("Xfixes") or "libXfixes.so.3")


class _CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


_xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(_CursorImage)
_xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
_xlib.XFree.argtypes = [ctypes.c_void_p]

_REVERT_TO_PARENT = 2
_GRAB_MODE_ASYNC = 1
_GRAB_SUCCESS = 0
_CURRENT_TIME = 0
_CLIENT_MESSAGE = 33


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]  # XEvent's full size


class XConnection:
    """One connection; its windows live until destroyed or until it closes."""

    def __init__(self):
        self._display = _xlib.XOpenDisplay(None)
        if not self._display:
            raise RuntimeError("no X display")

    def create_window(self, x, y, width, height):
        window = _xlib.XCreateSimpleWindow(self._display, _xlib.XDefaultRootWindow(self._display),
                                           x, y, width, height, 0, 0, 0)
        _xlib.XMapRaised(self._display, window)
        _xlib.XSync(self._display, 0)
        return window

    def focus(self, window):
        _xlib.XSetInputFocus(self._display, window, _REVERT_TO_PARENT, _CURRENT_TIME)
        _xlib.XSync(self._display, 0)

    def ask_to_close(self, window):
        """What a window manager sends when the user closes a window: WM_DELETE_WINDOW."""
        event = _ClientMessage()
        event.type = _CLIENT_MESSAGE
        event.window = window
        event.message_type = _xlib.XInternAtom(self._display, b"WM_PROTOCOLS", 0)
        event.format = 32
        event.data[0] = _xlib.XInternAtom(self._display, b"WM_DELETE_WINDOW", 0)
        event.data[1] = _CURRENT_TIME
        _xlib.XSendEvent(self._display, window, 0, 0, ctypes.byref(event))
        _xlib.XSync(self._display, 0)

    def pointer_visible(self):
        """Whether the pointer's current image has any pixel that is not fully transparent."""
        image = _xfixes.XFixesGetCursorImage(self._display)
        if not image:
            raise RuntimeError("no XFIXES cursor image")
        count = image.contents.width * image.contents.height
        visible = any((image.contents.pixels[i] >> 24) & 0xFF for i in range(count))
        _xlib.XFree(image)
        return visible

    def keyboard_grabbable(self):
        """Whether this client can take the keyboard, that is no other client holds it."""
        root = _xlib.XDefaultRootWindow(self._display)
        status = _xlib.XGrabKeyboard(self._display, root, 0, _GRAB_MODE_ASYNC, _GRAB_MODE_ASYNC,
                                     _CURRENT_TIME)
        _xlib.XUngrabKeyboard(self._display, _CURRENT_TIME)
        _xlib.XSync(self._display, 0)
        return status == _GRAB_SUCCESS

    def destroy(self, window):
        _xlib.XDestroyWindow(self._display, window)
        _xlib.XSync(self._display, 0)

    def close(self):
        _xlib.XCloseDisplay(self._display)
