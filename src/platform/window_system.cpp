// The window calls of the seam, each handed to the chosen window system's driver
// (windowing/window_system_driver.h). The table lists the window systems the program carries,
// in order of preference; its CMake file says which (VOSTREL_WINDOW_SYSTEMS).
#include "platform/cursor.h"
#include "platform/desktop.h"
#include "platform/frame_clock.h"
#include "platform/message_box.h"
#include "platform/saver_window.h"
#include "platform/screensaver_notice.h"
#include "platform/windowing/window_gl.h"
#include "platform/windowing/window_system_driver.h"

#ifdef VOSTREL_WINDOW_SYSTEM_WAYLAND
extern const WindowSystemDriver kWaylandWindowSystem;
#endif
#ifdef VOSTREL_WINDOW_SYSTEM_X11
extern const WindowSystemDriver kX11WindowSystem;
#endif
#ifdef VOSTREL_WINDOW_SYSTEM_WIN32
extern const WindowSystemDriver kWin32WindowSystem;
#endif

namespace {

const WindowSystemDriver* const kWindowSystems[] = {
#ifdef VOSTREL_WINDOW_SYSTEM_WAYLAND
    &kWaylandWindowSystem,
#endif
#ifdef VOSTREL_WINDOW_SYSTEM_X11
    &kX11WindowSystem,
#endif
#ifdef VOSTREL_WINDOW_SYSTEM_WIN32
    &kWin32WindowSystem,
#endif
};

bool foreignWindowsNeeded = false;

const WindowSystemDriver* ChooseWindowSystem() {
    for (const WindowSystemDriver* driver : kWindowSystems) {
        if (foreignWindowsNeeded && !driver->foreignWindows) continue;
        if (driver->available()) return driver;
    }
    return kWindowSystems[0];
}

}  // namespace

void ChooseWindowSystemForForeignWindows() {
    foreignWindowsNeeded = true;
}

const WindowSystemDriver& ChosenWindowSystem() {
    static const WindowSystemDriver* const chosen = ChooseWindowSystem();
    return *chosen;
}

#define VOSTREL_DISPATCH_WINDOW_CALL(result, name, parameters, arguments) \
    result name parameters {                                              \
        return ChosenWindowSystem().name arguments;                       \
    }

VOSTREL_WINDOW_CALLS(VOSTREL_DISPATCH_WINDOW_CALL)
VOSTREL_WINDOW_MESSAGE_CALLS(VOSTREL_DISPATCH_WINDOW_CALL)
