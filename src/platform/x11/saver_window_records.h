// The saver windows this process has made, shared by the parts of the X11 window layer:
// the windows themselves (saver_window_x11.cpp), their GL (saver_gl_glx.cpp) and their
// events (saver_messages_x11.cpp); the message boxes take activation from them. Their
// classes, procedures and messages are the shared machinery's (window_messages.h).
#pragma once
#include <GL/glx.h>
#include <X11/Xlib.h>

#include "platform/saver_window.h"
#include "platform/windowing/window_messages.h"
#include "platform/x11/x11_window_system.h"

namespace x11 {

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

struct WindowRecord {
    bool topLevel = false;
    bool destroying = false;
    Rect surfaceRect;  // where the GL surface goes inside the window
    Window surface = 0;
    Visual* visual = nullptr;  // the surface's
    Colormap colormap = 0;
    GLXFBConfig config = nullptr;
};

// Null for a window that is not ours or has been destroyed.
WindowRecord* FindLiveWindow(WindowId window);

// What a message box does to the top-level windows when it appears: each loses activation
// (WM_ACTIVATE with WA_INACTIVE, sent at once). A full-screen window holds the keyboard and
// the pointer and stands above every other window, so a box under it could never be answered;
// the box's own toolkit runs its loop on another connection, where this window's FocusOut
// would not be heard until the box was gone.
void DeactivateTopLevelWindows();
// Around a box the run survives: the top-level windows let the box have the keyboard and the
// pointer (showing the pointer), then take both back with the focus, let their procedures set
// the pointer again, and are told of their activation (WM_ACTIVATE with WA_ACTIVE).
void LendInputToMessageBox();
void TakeInputBackFromMessageBox();

// True while the cursor display count is negative: every saver window shows no pointer.
bool CursorHidden();

inline Atom AtomNamed(Display* display, const char* name) {
    return XInternAtom(display, name, False);
}

}  // namespace x11
