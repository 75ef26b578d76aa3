// The X11 window system's realisation of the window calls, and what its driver adds to them
// (window_system_driver.h).
#pragma once
#include "platform/windowing/window_system_driver.h"

namespace x11 {

VOSTREL_WINDOW_CALLS(VOSTREL_DECLARE_WINDOW_CALL)
// An X server answers.
bool Available();
bool PumpWindowEvents(bool wait);

}  // namespace x11
