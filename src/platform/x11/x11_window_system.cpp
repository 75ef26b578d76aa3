// The X11 window system's driver: its own window calls, and the shared message machinery, to
// which it hands its events as messages.
#include "platform/x11/x11_window_system.h"
#include "platform/windowing/window_messages.h"
#include "platform/x11/x_connection.h"

bool x11::Available() {
    return SaverDisplay() != nullptr;
}

#define VOSTREL_X11_CALL(result, name, parameters, arguments) x11::name,
#define VOSTREL_SHARED_MESSAGE_CALL(result, name, parameters, arguments) window_messages::name,

extern const WindowSystemDriver kX11WindowSystem = {
    "x11", true, x11::Available, x11::PumpWindowEvents,
    VOSTREL_WINDOW_CALLS(VOSTREL_X11_CALL)
        VOSTREL_WINDOW_MESSAGE_CALLS(VOSTREL_SHARED_MESSAGE_CALL)};
