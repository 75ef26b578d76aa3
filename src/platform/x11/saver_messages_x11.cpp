// The saver window's events on X11, turned into the Win32 messages that the window procedure
// handles; the queue, dispatch and default handling are the shared machinery's
// (window_messages.h).
//
// Realised: KeyPress -> a key message with the virtual-key code of the key's unshifted keysym;
// ButtonPress 1/2/3 -> WM_LBUTTONDOWN / WM_MBUTTONDOWN / WM_RBUTTONDOWN; MotionNotify ->
// WM_MOUSEMOVE; losing the input focus -> WM_ACTIVATE with WA_INACTIVE; WM_DELETE_WINDOW ->
// WM_SYSCOMMAND with SC_CLOSE; a window destroyed from outside (also with its parent) ->
// WM_DESTROY; the pointer entering -> WM_SETCURSOR.
// Left out: key releases, WM_CHAR and the other messages TranslateMessage would make (the
// saver reads none of them); the wheel (buttons 4 to 7), which the saver ignores; repeat counts
// and scan codes in a key's lParam.
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "platform/x11/saver_window_records.h"
#include "platform/x11/x_connection.h"

namespace x11 {

namespace {

namespace vk = virtual_key;

bool IsAltKey(KeySym key) {
    return key == XK_Alt_L || key == XK_Alt_R || key == XK_Meta_L || key == XK_Meta_R;
}

// Windows' virtual-key codes for the keysyms of an X keyboard's unshifted keys: a range of
// keysyms in the order of its codes, or, where `shared`, keysyms that all give the one code
// (left and right Shift are both VK_SHIFT).
struct KeyRange {
    KeySym first, last;
    MessageParam firstCode;
    bool shared = false;
};
constexpr KeyRange kVirtualKeys[] = {
    {XK_a, XK_z, vk::kLetterA},
    {XK_0, XK_9, vk::kDigit0},
    {XK_F1, XK_F24, vk::kF1},
    {XK_KP_0, XK_KP_9, vk::kNumpad0},
    {XK_BackSpace, XK_Tab, vk::kBack},
    {XK_Return, XK_Return, vk::kReturn},
    {XK_Pause, XK_Pause, vk::kPause},
    {XK_Escape, XK_Escape, vk::kEscape},
    {XK_space, XK_space, vk::kSpace},
    {XK_Prior, XK_Next, vk::kPrior},
    {XK_End, XK_End, vk::kPrior + 2},
    {XK_Home, XK_Home, vk::kPrior + 3},
    {XK_Left, XK_Down, vk::kPrior + 4},
    {XK_Insert, XK_Insert, vk::kInsert},
    {XK_Delete, XK_Delete, vk::kDelete},
    {XK_Shift_L, XK_Shift_R, vk::kShift, true},
    {XK_Control_L, XK_Control_R, vk::kControl, true},
    {XK_Alt_L, XK_Alt_R, vk::kMenu, true},
};

MessageParam VirtualKeyFor(KeySym key) {
    for (const KeyRange& range : kVirtualKeys) {
        if (key < range.first || key > range.last) continue;
        return range.shared ? range.firstCode : range.firstCode + (key - range.first);
    }
    return 0;
}

// Focus that moves inside our window, or pointer-root bookkeeping, is not a loss of focus.
bool LosesFocus(const XFocusChangeEvent& event) {
    const bool realMove = event.mode == NotifyNormal || event.mode == NotifyWhileGrabbed;
    return realMove && event.detail != NotifyInferior && event.detail != NotifyPointer &&
           event.detail != NotifyPointerRoot && event.detail != NotifyDetailNone;
}

void TranslateKey(WindowId window, XKeyEvent key) {
    const KeySym symbol = XLookupKeysym(&key, 0);
    PostKeyDown(window, VirtualKeyFor(symbol), (key.state & Mod1Mask) != 0 || IsAltKey(symbol));
}

void TranslateButton(WindowId window, const XButtonEvent& button) {
    const MessageData point = PointParam(button.x, button.y);
    switch (button.button) {
        case Button1:
            PostWindowMessage(window, kWmLButtonDown, 0, point);
            break;
        case Button2:
            PostWindowMessage(window, kWmMButtonDown, 0, point);
            break;
        case Button3:
            PostWindowMessage(window, kWmRButtonDown, 0, point);
            break;
        default:
            break;  // the wheel
    }
}

void TranslateEvent(Display* display, const XEvent& event) {
    if (event.type == DestroyNotify) {
        // Destroyed from outside (by its host, or with its parent): what Windows would say
        // with WM_DESTROY. Our own DestroySaverWindow has marked its window already.
        WindowRecord* record = FindLiveWindow(event.xdestroywindow.window);
        if (record == nullptr) return;
        MarkWindowDestroyed(event.xdestroywindow.window);
        PostWindowMessage(event.xdestroywindow.window, kWmDestroy, 0, 0);
        return;
    }
    const WindowId window = event.xany.window;
    if (FindLiveWindow(window) == nullptr) return;
    switch (event.type) {
        case KeyPress:
            TranslateKey(window, event.xkey);
            break;
        case ButtonPress:
            TranslateButton(window, event.xbutton);
            break;
        case MotionNotify:
            PostMouseMove(window, PointParam(event.xmotion.x, event.xmotion.y));
            break;
        case FocusOut:
            if (LosesFocus(event.xfocus)) PostWindowMessage(window, kWmActivate, kWaInactive, 0);
            break;
        case EnterNotify:
            PostWindowMessage(window, kWmSetCursor, window, 0);
            break;
        case ClientMessage:
            if (event.xclient.message_type == AtomNamed(display, "WM_PROTOCOLS") &&
                static_cast<Atom>(event.xclient.data.l[0]) ==
                    AtomNamed(display, "WM_DELETE_WINDOW")) {
                PostWindowMessage(window, kWmSysCommand, kScClose, 0);
            }
            break;
        default:
            break;
    }
}

// Every event that has arrived becomes a message now, so that motion is merged however many
// events wait behind the first.
void TranslatePendingEvents(Display* display) {
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        TranslateEvent(display, event);
    }
}

}  // namespace

bool PumpWindowEvents(bool wait) {
    Display* display = OpenedSaverDisplay();
    if (display == nullptr) return false;
    if (wait) {
        XEvent event;
        XNextEvent(display, &event);
        TranslateEvent(display, event);
    }
    TranslatePendingEvents(display);
    return true;
}

bool DrawingContextValid(DrawingContext context) {
    Display* display = OpenedSaverDisplay();
    if (display == nullptr) return false;
    // After the round trip every event the server sent before it is here, a DestroyNotify
    // included; turning them into messages marks a window that has gone.
    XSync(display, False);
    TranslatePendingEvents(display);
    return FindLiveWindow(context) != nullptr;
}

}  // namespace x11
