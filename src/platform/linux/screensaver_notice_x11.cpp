#include <X11/extensions/scrnsaver.h>

#include "platform/linux/x_connection.h"
#include "platform/screensaver_notice.h"

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
