// The Win32 window system's realisation of the window calls, its message calls included: the
// system has the machinery itself (window_system_driver.h).
#pragma once
#include "platform/windowing/window_system_driver.h"

namespace win32 {

VOSTREL_WINDOW_CALLS(VOSTREL_DECLARE_WINDOW_CALL)
VOSTREL_WINDOW_MESSAGE_CALLS(VOSTREL_DECLARE_WINDOW_CALL)

}  // namespace win32
