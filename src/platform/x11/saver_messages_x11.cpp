// The saver window's messages on X11: X events become the Win32 messages that the window
// procedure handles, in one queue for the thread, and the default handling that Windows gives
// the few of them that need one.
//
// Realised: KeyPress -> WM_KEYDOWN, or WM_SYSKEYDOWN with Alt held or for F10 alone, with the
// virtual-key code of the key's unshifted keysym; ButtonPress 1/2/3 -> WM_LBUTTONDOWN /
// WM_MBUTTONDOWN / WM_RBUTTONDOWN; MotionNotify -> WM_MOUSEMOVE (one pending move stands for
// all, as on Windows); losing the input focus -> WM_ACTIVATE with WA_INACTIVE; WM_DELETE_WINDOW
// -> WM_SYSCOMMAND with SC_CLOSE; a window destroyed from outside (also with its parent) ->
// WM_DESTROY; the pointer entering -> WM_SETCURSOR.
// Left out: key releases, WM_CHAR and the other messages TranslateMessage would make (the
// saver reads none of them); the wheel (buttons 4 to 7), which the saver ignores; repeat counts
// and scan codes in a key's lParam.
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <deque>

#include "platform/saver_window.h"
#include "platform/x11/saver_window_records.h"
#include "platform/x11/x_connection.h"

namespace {

std::deque<WindowMessage> messageQueue;

MessageData PointParam(int x, int y) {
    return static_cast<MessageData>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                                    static_cast<std::uint32_t>(x & 0xFFFF));
}

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
    {XK_a, XK_z, 0x41},
    {XK_0, XK_9, 0x30},
    {XK_F1, XK_F24, 0x70},
    {XK_KP_0, XK_KP_9, 0x60},
    {XK_BackSpace, XK_Tab, 0x08},
    {XK_Return, XK_Return, 0x0D},
    {XK_Pause, XK_Pause, 0x13},
    {XK_Escape, XK_Escape, 0x1B},
    {XK_space, XK_space, 0x20},
    {XK_Prior, XK_Next, 0x21},
    {XK_End, XK_End, 0x23},
    {XK_Home, XK_Home, 0x24},
    {XK_Left, XK_Down, 0x25},
    {XK_Insert, XK_Insert, 0x2D},
    {XK_Delete, XK_Delete, 0x2E},
    {XK_Shift_L, XK_Shift_R, 0x10, true},
    {XK_Control_L, XK_Control_R, 0x11, true},
    {XK_Alt_L, XK_Alt_R, 0x12, true},
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
    const bool alt = (key.state & Mod1Mask) != 0 || IsAltKey(symbol);
    // Windows hands F10 pressed alone over as a system key too (it would open a menu bar), with
    // the Alt bit clear; the saver ignores system keys, so F10 must not end it.
    const bool systemKey = alt || symbol == XK_F10;
    PostWindowMessage(window, systemKey ? kWmSysKeyDown : kWmKeyDown, VirtualKeyFor(symbol),
                      alt ? kKeyAltHeld : 0);
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

// As on Windows, one pending WM_MOUSEMOVE stands for every move since it was queued: the
// main loop handles one message a frame, so a queued move per motion event would keep a key
// waiting behind seconds of small movements. The travel test reads the pointer itself, so
// only the latest point matters.
void PostMouseMove(WindowId window, MessageData point) {
    for (WindowMessage& queued : messageQueue) {
        if (queued.window == window && queued.message == kWmMouseMove) {
            queued.lParam = point;
            return;
        }
    }
    PostWindowMessage(window, kWmMouseMove, 0, point);
}

void TranslateEvent(Display* display, const XEvent& event) {
    if (event.type == DestroyNotify) {
        // Destroyed from outside (by its host, or with its parent): what Windows would say
        // with WM_DESTROY. Our own DestroySaverWindow has marked its window already.
        WindowRecord* record = FindLiveWindow(event.xdestroywindow.window);
        if (record == nullptr) return;
        record->destroyed = true;
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

void PostWindowMessage(WindowId window, std::uint32_t message, MessageParam wParam,
                       MessageData lParam) {
    messageQueue.push_back({window, message, wParam, lParam});
}

bool PeekWindowMessage() {
    Display* display = OpenedSaverDisplay();
    if (display != nullptr) TranslatePendingEvents(display);
    return !messageQueue.empty();
}

bool TakeWindowMessage(WindowMessage* message) {
    while (messageQueue.empty()) {
        Display* display = OpenedSaverDisplay();
        if (display == nullptr) return false;
        XEvent event;
        XNextEvent(display, &event);
        TranslateEvent(display, event);
        TranslatePendingEvents(display);
    }
    *message = messageQueue.front();
    messageQueue.pop_front();
    return message->message != kWmQuit;
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

MessageResult DispatchWindowMessage(const WindowMessage& message) {
    WindowRecord* record = FindWindowRecord(message.window);
    if (record == nullptr) return 0;
    // A window that has gone hears only of its destruction.
    if (record->destroyed && message.message != kWmDestroy) return 0;
    return record->procedure(message.window, message.message, message.wParam, message.lParam);
}

MessageResult DefaultWindowProcedure(WindowId window, std::uint32_t message, MessageParam wParam,
                                     MessageData lParam) {
    if (message == kWmSysCommand && wParam == kScClose) {
        SendWindowMessage(window, kWmClose, 0, 0);
    } else if (message == kWmClose) {
        DestroySaverWindow(window);
    } else if (message == kWmSysKeyDown && wParam == XK_F4 && (lParam & kKeyAltHeld) != 0) {
        PostWindowMessage(window, kWmSysCommand, kScClose, 0);
    }
    return 0;
}

void PostQuitWindowMessage(int exitCode) {
    PostWindowMessage(0, kWmQuit, static_cast<MessageParam>(exitCode), 0);
}
