// The saver window's procedure: decides when the saver ends. In Saver mode a key, a mouse
// button, pointer travel of more than mouseThreshold pixels from startCursor along either
// axis, or losing activation ends it; in Preview mode only the host destroying the window.
#pragma once
#include "platform/saver_window.h"

MessageResult SaverWindowProc(WindowId window, std::uint32_t message, MessageParam wParam,
                              MessageData lParam);
