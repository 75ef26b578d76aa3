// The desktop's own windows: the desktop window, whose client size is the primary monitor's,
// and the window that has the user's attention now (0 when none can be told).
#pragma once
#include "platform/window_id.h"

WindowId DesktopWindow();
WindowId ForegroundWindow();
