#include "platform/x11/power_saving_x11.h"
#include "platform/frame_clock.h"

#include <X11/extensions/dpms.h>
#include <X11/extensions/scrnsaver.h>
#include <poll.h>

#include "platform/stop_signal.h"
#include "platform/windowing/window_messages.h"

namespace x11 {
namespace {

// The schedule is read from the server at most this often while the monitors are on; while
// they sleep, the loop looks for them (and for messages) this often.
constexpr long long kScheduleLookMs = 1000;
constexpr int kSleepLookMs = 250;
constexpr long long kMsPerSecond = 1000;

bool HasDpms(Display* display) {
    int eventBase = 0, errorBase = 0;
    return DPMSQueryExtension(display, &eventBase, &errorBase) && DPMSCapable(display);
}

// The deepest level the desktop's timeouts call for after `idleMs` without input; DPMSModeOn
// when none is due (a timeout of 0 is a level the desktop switched off).
CARD16 DueLevel(Display* display, unsigned long idleMs) {
    CARD16 standby = 0, suspend = 0, off = 0;
    if (!DPMSGetTimeouts(display, &standby, &suspend, &off)) return DPMSModeOn;
    const auto passed = [idleMs](CARD16 seconds) {
        return seconds != 0 && idleMs >= static_cast<unsigned long>(seconds) * kMsPerSecond;
    };
    if (passed(off)) return DPMSModeOff;
    if (passed(suspend)) return DPMSModeSuspend;
    if (passed(standby)) return DPMSModeStandby;
    return DPMSModeOn;
}

// Standby, suspend and off are numbered from the lightest.
void FollowSchedule(Display* display) {
    CARD16 level = DPMSModeOn;
    BOOL enabled = False;
    if (!DPMSInfo(display, &level, &enabled) || !enabled) return;
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    if (info == nullptr) return;
    if (XScreenSaverQueryInfo(display, DefaultRootWindow(display), info)) {
        const CARD16 due = DueLevel(display, info->idle);
        if (due > level) DPMSForceLevel(display, due);
    }
    XFree(info);
}

bool MonitorsOn(Display* display) {
    CARD16 level = DPMSModeOn;
    BOOL enabled = False;
    return !DPMSInfo(display, &level, &enabled) || level == DPMSModeOn;
}

}  // namespace

void WaitWhileMonitorsSleep(Display* display) {
    static long long nextLookMs = 0;
    if (!HasDpms(display) || MonotonicMilliseconds() < nextLookMs) return;
    nextLookMs = MonotonicMilliseconds() + kScheduleLookMs;
    FollowSchedule(display);
    while (!StopSignalled() && !MonitorsOn(display)) {
        if (window_messages::PeekWindowMessage()) return;
        pollfd watched{ConnectionNumber(display), POLLIN, 0};
        poll(&watched, 1, kSleepLookMs);
    }
}

}  // namespace x11
