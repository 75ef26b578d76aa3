// The desktop and foreground windows on Windows, as the system names them: GetDesktopWindow,
// whose client area is the primary monitor, and GetForegroundWindow (null, hence 0, while
// activation passes between windows).
#include <windows.h>

#include "platform/desktop.h"
#include "platform/win32/win32_window_system.h"

namespace win32 {

WindowId DesktopWindow() {
    return reinterpret_cast<WindowId>(GetDesktopWindow());
}

WindowId ForegroundWindow() {
    return reinterpret_cast<WindowId>(GetForegroundWindow());
}

}  // namespace win32
