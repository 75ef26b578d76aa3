// The Wayland window system's driver: its own window calls, and the shared message machinery,
// to which it hands the seat's input as messages.
#include "platform/wayland/wayland_window_system.h"

#include "platform/windowing/window_messages.h"

#define VOSTREL_WAYLAND_CALL(result, name, parameters, arguments) wayland::name,
#define VOSTREL_SHARED_MESSAGE_CALL(result, name, parameters, arguments) window_messages::name,

extern const WindowSystemDriver kWaylandWindowSystem = {
    "wayland", false, wayland::Available, wayland::PumpWindowEvents,
    VOSTREL_WINDOW_CALLS(VOSTREL_WAYLAND_CALL)
        VOSTREL_WINDOW_MESSAGE_CALLS(VOSTREL_SHARED_MESSAGE_CALL)};
