// The screen-saver-running notice on Windows: SystemParametersInfoA with
// SPI_SETSCREENSAVERRUNNING, which on current systems only records the state, and on those
// that still honour it keeps Ctrl+Alt+Del and Alt+Tab from leaving the saver behind.
#include <windows.h>

#include "platform/screensaver_notice.h"
#include "platform/win32/win32_window_system.h"

namespace win32 {

bool SetScreenSaverRunning(bool running) {
    BOOL previous = FALSE;
    return SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running ? TRUE : FALSE, &previous, 0) !=
           FALSE;
}

}  // namespace win32
