// The desktop's own windows.
// Linux: the desktop window is the root window of the default screen; the foreground window
// is the one that _NET_ACTIVE_WINDOW names (0 without a window manager or display).
#pragma once
#include "platform/window_id.h"

WindowId DesktopWindow();
WindowId ForegroundWindow();
