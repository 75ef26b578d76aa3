// The screen-saver-running notice on X.
//
// Realised here: nothing on X corresponds to the Windows flag itself, but what it is for does:
// while the saver runs, the X server's own screen saver is suspended (XScreenSaverSuspend), so
// that its blanking never covers the show nor starts on top of it. The suspension holds the
// monitors' power saving back too; power_saving_x11.cpp keeps the desktop's schedule for it.
// Suspensions are counted per connection and end with the process at the latest.
#include <X11/extensions/scrnsaver.h>

#include "platform/screensaver_notice.h"
#include "platform/x11/x11_window_system.h"
#include "platform/x11/x_connection.h"

namespace x11 {

bool SetScreenSaverRunning(bool running) {
    Display* display = SaverDisplay();
    int eventBase = 0, errorBase = 0;
    if (display == nullptr || !XScreenSaverQueryExtension(display, &eventBase, &errorBase)) {
        return false;
    }
    XScreenSaverSuspend(display, running ? True : False);
    XFlush(display);
    return true;
}

}  // namespace x11
