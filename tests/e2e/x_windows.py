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

_xlib.XGetImage.restype = ctypes.c_void_p
_xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                            ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
_xlib.XGetPixel.restype = ctypes.c_ulong
_xlib.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
_xlib.XDestroyImage.argtypes = [ctypes.c_void_p]
_ALL_PLANES = 0xFFFFFFFF
_Z_PIXMAP = 2

_xlib.XGrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                ctypes.c_int, ctypes.c_ulong]
_xlib.XGrabPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_uint,
                               ctypes.c_int, ctypes.c_int, ctypes.c_ulong, ctypes.c_ulong,
                               ctypes.c_ulong]
_xlib.XDefaultScreen.argtypes = [ctypes.c_void_p]
for _name in ("XDisplayWidth", "XDisplayHeight"):
    getattr(_xlib, _name).argtypes = [ctypes.c_void_p, ctypes.c_int]
for _name in ("XUngrabKeyboard", "XUngrabPointer"):
    getattr(_xlib, _name).argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_GRAB_MODE_ASYNC = 1
_GRAB_SUCCESS = 0

_xlib.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                             ctypes.POINTER(ctypes.c_ulong),
                             ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                             ctypes.POINTER(ctypes.c_uint)]

_xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
_xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                       ctypes.c_ulong]
_xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
_xlib.XKeysymToKeycode.restype = ctypes.c_ubyte
_xlib.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_xlib.XFlush.argtypes = [ctypes.c_void_p]
_XK_X = 0x78

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

    def lit_share(self, x, y, width, height, step=8):
        """The share of sampled screen pixels in the rectangle that are not black."""
        root = _xlib.XDefaultRootWindow(self._display)
        image = _xlib.XGetImage(self._display, root, x, y, width, height, _ALL_PLANES, _Z_PIXMAP)
        if not image:
            raise RuntimeError("no screen image")
        samples = [_xlib.XGetPixel(image, i, j)
                   for j in range(0, height, step) for i in range(0, width, step)]
        _xlib.XDestroyImage(image)
        return sum(1 for pixel in samples if pixel & 0xFFFFFF) / len(samples)

    def screen_sample(self, step=16):
        """Every `step`-th pixel of every `step`-th row of the whole screen, to tell whether
        the picture changed."""
        root = _xlib.XDefaultRootWindow(self._display)
        width, height = self.screen_size()
        image = _xlib.XGetImage(self._display, root, 0, 0, width, height, _ALL_PLANES, _Z_PIXMAP)
        if not image:
            raise RuntimeError("no screen image")
        sample = tuple(_xlib.XGetPixel(image, i, j)
                       for j in range(0, height, step) for i in range(0, width, step))
        _xlib.XDestroyImage(image)
        return sample

    def screen_size(self):
        screen = _xlib.XDefaultScreen(self._display)
        return (_xlib.XDisplayWidth(self._display, screen),
                _xlib.XDisplayHeight(self._display, screen))

    def input_free(self):
        """Whether this client can take the keyboard and the pointer (nobody holds them)."""
        root = _xlib.XDefaultRootWindow(self._display)
        keyboard = _xlib.XGrabKeyboard(self._display, root, 0, _GRAB_MODE_ASYNC,
                                       _GRAB_MODE_ASYNC, _CURRENT_TIME)
        pointer = _xlib.XGrabPointer(self._display, root, 0, 0, _GRAB_MODE_ASYNC,
                                     _GRAB_MODE_ASYNC, 0, 0, _CURRENT_TIME)
        _xlib.XUngrabKeyboard(self._display, _CURRENT_TIME)
        _xlib.XUngrabPointer(self._display, _CURRENT_TIME)
        _xlib.XSync(self._display, 0)
        return keyboard == _GRAB_SUCCESS and pointer == _GRAB_SUCCESS

    def has_child(self, window):
        """Whether the window has a child window yet (one round trip, no process start)."""
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children = ctypes.POINTER(ctypes.c_ulong)()
        count = ctypes.c_uint()
        if not _xlib.XQueryTree(self._display, window, ctypes.byref(root), ctypes.byref(parent),
                                ctypes.byref(children), ctypes.byref(count)):
            return False
        if children:
            _xlib.XFree(children)
        return count.value > 0

    def storm(self, points, then_key=True):
        """Sends the pointer through `points` as fast as the server takes it, then presses
        and releases x, all as real input (XTest), in one burst."""
        for x, y in points:
            _xtst.XTestFakeMotionEvent(self._display, -1, x, y, _CURRENT_TIME)
        if then_key:
            code = _xlib.XKeysymToKeycode(self._display, _XK_X)
            _xtst.XTestFakeKeyEvent(self._display, code, 1, _CURRENT_TIME)
            _xtst.XTestFakeKeyEvent(self._display, code, 0, _CURRENT_TIME)
        _xlib.XSync(self._display, 0)

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
