// The saver window's events on X11, turned into the Win32 messages that the window procedure
// handles; the queue, dispatch and default handling are the shared machinery's
// (window_messages.h).
//
// Realised: KeyPress -> a key message with the virtual-key code of the key's unshifted keysym;
// ButtonPress 1/2/3 -> WM_LBUTTONDOWN / WM_MBUTTONDOWN / WM_RBUTTONDOWN; MotionNotify ->
// WM_MOUSEMOVE; losing the input focus -> WM_ACTIVATE with WA_INACTIVE; WM_DELETE_WINDOW ->
// WM_SYSCOMMAND with SC_CLOSE; a window destroyed from outside (also with its parent) ->
// WM_DESTROY; the pointer entering -> WM_SETCURSOR. A lost connection ends the process
// (x_connection.cpp).
// Left out: key releases, WM_CHAR and the other messages TranslateMessage would make (the
// saver reads none of them); the wheel (buttons 4 to 7), which the saver ignores; repeat counts
// and scan codes in a key's lParam.
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "platform/windowing/keysym_keys.h"
#include "platform/x11/saver_window_records.h"
#include "platform/x11/x_connection.h"

namespace x11 {

namespace {

// The shared table is written in keysym numbers; X's names must be the same numbers.
static_assert(XK_space == keysym::kSpace && XK_0 == keysym::kDigit0 && XK_9 == keysym::kDigit9 &&
              XK_a == keysym::kLetterA && XK_z == keysym::kLetterZ &&
              XK_BackSpace == keysym::kBackSpace && XK_Tab == keysym::kTab &&
              XK_Return == keysym::kReturn && XK_Pause == keysym::kPause &&
              XK_Escape == keysym::kEscape && XK_Home == keysym::kHome &&
              XK_Left == keysym::kLeft && XK_Down == keysym::kDown && XK_Prior == keysym::kPrior &&
              XK_Next == keysym::kNext && XK_End == keysym::kEnd && XK_Insert == keysym::kInsert &&
              XK_KP_0 == keysym::kNumpad0 && XK_KP_9 == keysym::kNumpad9 && XK_F1 == keysym::kF1 &&
              XK_F24 == keysym::kF24 && XK_Shift_L == keysym::kShiftL &&
              XK_Shift_R == keysym::kShiftR && XK_Control_L == keysym::kControlL &&
              XK_Control_R == keysym::kControlR && XK_Meta_L == keysym::kMetaL &&
              XK_Meta_R == keysym::kMetaR && XK_Alt_L == keysym::kAltL &&
              XK_Alt_R == keysym::kAltR && XK_Delete == keysym::kDelete);

// Focus that moves inside our window, or pointer-root bookkeeping, is not a loss of focus.
bool LosesFocus(const XFocusChangeEvent& event) {
    const bool realMove = event.mode == NotifyNormal || event.mode == NotifyWhileGrabbed;
    return realMove && event.detail != NotifyInferior && event.detail != NotifyPointer &&
           event.detail != NotifyPointerRoot && event.detail != NotifyDetailNone;
}

void TranslateKey(WindowId window, XKeyEvent key) {
    const KeySym symbol = XLookupKeysym(&key, 0);
    PostKeyDown(window, VirtualKeyForKeysym(symbol),
                (key.state & Mod1Mask) != 0 || IsAltKeysym(symbol));
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
