// The Wayland window system's realisation of the window calls, and what its driver adds to
// them (window_system_driver.h).
#pragma once
#include "platform/windowing/window_system_driver.h"

namespace wayland {

VOSTREL_WINDOW_CALLS(VOSTREL_DECLARE_WINDOW_CALL)
// WAYLAND_DISPLAY names a compositor that answers and offers what the saver needs.
bool Available();
bool PumpWindowEvents(bool wait);

}  // namespace wayland
