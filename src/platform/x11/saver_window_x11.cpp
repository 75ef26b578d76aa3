// The saver windows on X11: the full-screen and child windows, their size, focus, cursor and
// destruction; their classes and messages are the shared machinery's (window_messages.h).
//
// Each saver window is an outer X window, which takes the input and stands for the Win32
// window; once a pixel format is set, an inner surface window with the format's visual holds
// the GL picture (saver_gl_glx.cpp). The surface selects no input, so its events reach the
// outer window.
//
// Realised: the full-screen window is an override-redirect window over the whole screen, which
// no window manager moves, with the keyboard and the pointer grabbed for it; its surface
// covers the primary monitor as XRandR names it. X errors are trapped around every call that
// can meet one, which then fails. Left out: window styles and class styles, which no window
// manager would honour on an override-redirect window, and a real system menu.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>

#include <cstring>
#include <map>
#include <vector>

#include "platform/saver_window.h"
#include "platform/x11/primary_output_xrandr.h"
#include "platform/x11/saver_window_records.h"
#include "platform/x11/x_connection.h"

namespace x11 {

namespace {

constexpr long kInputEvents = KeyPressMask | ButtonPressMask | PointerMotionMask | FocusChangeMask |
                              StructureNotifyMask | EnterWindowMask;
constexpr unsigned kGrabbedPointerEvents = ButtonPressMask | PointerMotionMask | EnterWindowMask;

std::map<WindowId, WindowRecord> windows;

// The primary monitor's area; the whole screen without XRandR 1.3 or a lit monitor.
Rect PrimaryMonitorRect(Display* display) {
    const int screen = DefaultScreen(display);
    Rect found{0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
    FindPrimaryCrtc(display, [&found](const XRRScreenResources&, const XRRCrtcInfo& crtc) {
        if (crtc.width == 0 || crtc.height == 0) return false;
        found = {crtc.x, crtc.y, static_cast<int>(crtc.width), static_cast<int>(crtc.height)};
        return true;
    });
    return found;
}

// Set even on an override-redirect window, which no window manager reads, so that tools and
// tests can find the saver by its title.
void SetTitle(Display* display, Window window, const char* title) {
    XStoreName(display, window, title);
    XChangeProperty(display, window, AtomNamed(display, "_NET_WM_NAME"),
                    AtomNamed(display, "UTF8_STRING"), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title),
                    static_cast<int>(std::strlen(title)));
    Atom deleteWindow = AtomNamed(display, "WM_DELETE_WINDOW");
    XSetWMProtocols(display, window, &deleteWindow, 1);
}

Cursor BlankCursor(Display* display) {
    static Cursor blank = 0;
    if (blank == 0) {
        const char empty[1] = {0};
        Pixmap bitmap = XCreateBitmapFromData(display, DefaultRootWindow(display), empty, 1, 1);
        XColor black{};
        blank = XCreatePixmapCursor(display, bitmap, bitmap, &black, &black, 0, 0);
        XFreePixmap(display, bitmap);
    }
    return blank;
}

Cursor ArrowCursor(Display* display) {
    static Cursor arrow = 0;
    if (arrow == 0) arrow = XCreateFontCursor(display, XC_left_ptr);
    return arrow;
}

// Sends WM_CREATE and shows the window, as CreateWindowExA does for a WS_VISIBLE window.
WindowId FinishCreation(Display* display, Window window, WindowRecord record, const char* className,
                        const char* title) {
    SetTitle(display, window, title);
    const WindowId id = window;
    windows[id] = std::move(record);
    AddWindow(id, className);
    SendWindowMessage(id, kWmCreate, 0, 0);
    if (FindLiveWindow(id) == nullptr) return 0;
    // The cursor count hides the pointer everywhere at once, as ShowCursor does, not only
    // from the first WM_SETCURSOR on.
    if (CursorHidden()) XDefineCursor(display, window, BlankCursor(display));
    XMapRaised(display, window);
    XSync(display, False);
    return id;
}

}  // namespace

WindowRecord* FindLiveWindow(WindowId window) {
    auto found = windows.find(window);
    return found != windows.end() && WindowLive(window) ? &found->second : nullptr;
}

WindowId CreateFullScreenWindow(const char* className, const char* title) {
    WindowProcedure procedure = ClassProcedure(className);
    Display* display = SaverDisplay();
    if (procedure == nullptr || display == nullptr) return 0;
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.event_mask = kInputEvents;
    XErrorTrap trap(display);
    const Window window =
        XCreateWindow(display, RootWindow(display, screen), 0, 0, DisplayWidth(display, screen),
                      DisplayHeight(display, screen), 0, CopyFromParent, InputOutput,
                      CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
    if (!trap.Passed()) return 0;
    WindowRecord record;
    record.topLevel = true;
    record.surfaceRect = PrimaryMonitorRect(display);
    return FinishCreation(display, window, std::move(record), className, title);
}

WindowId CreateChildWindow(const char* className, const char* title, WindowId parent, int width,
                           int height) {
    WindowProcedure procedure = ClassProcedure(className);
    Display* display = SaverDisplay();
    if (procedure == nullptr || display == nullptr || parent == 0) return 0;
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
    attributes.event_mask = kInputEvents;
    XErrorTrap trap(display);
    // A size of 0 is refused by X (BadValue) and caught here like a bad parent.
    const Window window =
        XCreateWindow(display, static_cast<Window>(parent), 0, 0, static_cast<unsigned>(width),
                      static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWBackPixel | CWEventMask, &attributes);
    if (!trap.Passed()) return 0;
    WindowRecord record;
    record.surfaceRect = {0, 0, width, height};
    return FinishCreation(display, window, std::move(record), className, title);
}

bool DestroySaverWindow(WindowId window) {
    WindowRecord* record = FindLiveWindow(window);
    Display* display = OpenedSaverDisplay();
    if (record == nullptr || record->destroying || display == nullptr) return false;
    record->destroying = true;
    SendWindowMessage(window, kWmDestroy, 0, 0);
    record = FindLiveWindow(window);
    if (record == nullptr) return true;
    XErrorTrap trap(display);
    XDestroyWindow(display, static_cast<Window>(window));
    if (record->colormap != 0) XFreeColormap(display, record->colormap);
    MarkWindowDestroyed(window);
    return trap.Passed();
}

namespace {

// Collected first: a procedure that ends the saver destroys its window meanwhile.
std::vector<WindowId> LiveTopLevelWindows() {
    std::vector<WindowId> found;
    for (const auto& [id, record] : windows) {
        if (record.topLevel && WindowLive(id) && !record.destroying) found.push_back(id);
    }
    return found;
}

Bool IsOurFocusChange(Display*, XEvent* event, XPointer) {
    const bool focusChange = event->type == FocusIn || event->type == FocusOut;
    return focusChange && FindLiveWindow(event->xfocus.window) != nullptr ? True : False;
}

}  // namespace

void DeactivateTopLevelWindows() {
    for (WindowId id : LiveTopLevelWindows()) {
        if (FindLiveWindow(id) != nullptr) SendWindowMessage(id, kWmActivate, kWaInactive, 0);
    }
}

void LendInputToMessageBox() {
    Display* display = OpenedSaverDisplay();
    if (display == nullptr) return;
    // The pointer shows over the black screen too, so the user can find the box to click it.
    for (WindowId id : LiveTopLevelWindows()) {
        XDefineCursor(display, static_cast<Window>(id), ArrowCursor(display));
    }
    XUngrabKeyboard(display, CurrentTime);
    XUngrabPointer(display, CurrentTime);
    XSync(display, False);
}

void TakeInputBackFromMessageBox() {
    Display* display = OpenedSaverDisplay();
    if (display == nullptr) return;
    // The focus the box took arrives here as FocusOut only now, long after the box was
    // answered; it was the box's, not the user's leaving, so it is dropped unread.
    XSync(display, False);
    XEvent dropped;
    while (XCheckIfEvent(display, &dropped, IsOurFocusChange, nullptr)) {
    }
    for (WindowId id : LiveTopLevelWindows()) {
        SetForegroundSaverWindow(id);
        SetSaverWindowFocus(id);
        SendWindowMessage(id, kWmSetCursor, id, 0);
        if (FindLiveWindow(id) != nullptr) SendWindowMessage(id, kWmActivate, kWaActive, 0);
    }
}

bool GetWindowClientSize(WindowId window, int* width, int* height) {
    Display* display = SaverDisplay();
    if (display == nullptr || window == 0) return false;
    if (window == DefaultRootWindow(display)) {
        const Rect monitor = PrimaryMonitorRect(display);
        *width = monitor.width;
        *height = monitor.height;
        return true;
    }
    XWindowAttributes attributes{};
    XErrorTrap trap(display);
    const Status status = XGetWindowAttributes(display, static_cast<Window>(window), &attributes);
    if (!trap.Passed() || status == 0) return false;
    *width = attributes.width;
    *height = attributes.height;
    return true;
}

void ShowSaverWindow(WindowId window) {
    Display* display = OpenedSaverDisplay();
    if (display == nullptr || FindLiveWindow(window) == nullptr) return;
    XMapRaised(display, static_cast<Window>(window));
    XSync(display, False);
}

void SetForegroundSaverWindow(WindowId window) {
    Display* display = OpenedSaverDisplay();
    WindowRecord* record = FindLiveWindow(window);
    if (display == nullptr || record == nullptr || !record->topLevel) return;
    XRaiseWindow(display, static_cast<Window>(window));
    XGrabKeyboard(display, static_cast<Window>(window), False, GrabModeAsync, GrabModeAsync,
                  CurrentTime);
    XGrabPointer(display, static_cast<Window>(window), False, kGrabbedPointerEvents, GrabModeAsync,
                 GrabModeAsync, None, None, CurrentTime);
    XSync(display, False);
}

void SetSaverWindowFocus(WindowId window) {
    Display* display = OpenedSaverDisplay();
    WindowRecord* record = FindLiveWindow(window);
    if (display == nullptr || record == nullptr || !record->topLevel) return;
    XErrorTrap trap(display);
    XSetInputFocus(display, static_cast<Window>(window), RevertToParent, CurrentTime);
    trap.Passed();
}

void BringSaverWindowToTop(WindowId window) {
    Display* display = OpenedSaverDisplay();
    if (display == nullptr || FindLiveWindow(window) == nullptr) return;
    XRaiseWindow(display, static_cast<Window>(window));
    XFlush(display);
}

void SetSaverWindowCursor(WindowId window, PointerShape shape) {
    Display* display = OpenedSaverDisplay();
    if (display == nullptr || FindLiveWindow(window) == nullptr) return;
    const bool hidden = shape == PointerShape::Hidden || CursorHidden();
    XDefineCursor(display, static_cast<Window>(window),
                  hidden ? BlankCursor(display) : ArrowCursor(display));
    XFlush(display);
}

bool GetCursorPosition(int* x, int* y) {
    Display* display = SaverDisplay();
    if (display == nullptr) return false;
    Window root = 0, child = 0;
    int windowX = 0, windowY = 0;
    unsigned mask = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, x, y, &windowX, &windowY,
                  &mask);
    return true;
}

}  // namespace x11
