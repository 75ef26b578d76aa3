// The refresh rate of the primary monitor from its current display settings. The system
// reports 0 or 1 for "the hardware's default rate", which says nothing: unknown.
#include <windows.h>

#include "platform/frame_clock.h"
#include "platform/win32/win32_window_system.h"

namespace win32 {

namespace {
constexpr DWORD kLowestRealRate = 2;
}  // namespace

double DisplayRefreshRate() {
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    // No device name: the primary display device.
    if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return 0.0;
    return mode.dmDisplayFrequency >= kLowestRealRate ? mode.dmDisplayFrequency : 0.0;
}

}  // namespace win32
