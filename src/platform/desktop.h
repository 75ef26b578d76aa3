// The desktop's own windows: the desktop window, whose client size is the primary monitor's,
// and the window that has the user's attention now (0 when none can be told).
#pragma once
#include "platform/window_id.h"

WindowId DesktopWindow();
WindowId ForegroundWindow();

// Said before the first window call by a run that draws into another program's window given by
// id: the window system chosen is then one whose windows can be such children (on a Wayland
// desktop, X11 through XWayland, where the hosts' windows are).
void ChooseWindowSystemForForeignWindows();
