// The idle source of an X11 session: the server's own idle counter (the MIT-SCREEN-SAVER
// extension's time since the last input), read a few times a second. A lost connection to the
// server is the session's end: Xlib would end the process there, before the saver could be
// stopped, so its error handler does nothing and its exit handler only notes the loss and
// returns (Xlib then leaves the dead display alone).
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
#include <poll.h>

#include <algorithm>
#include <memory>

#include "platform/idle_monitor.h"

namespace {

constexpr int kReadEveryMs = 200;

int IgnoreConnectionLost(Display*) {
    return 0;
}

void NoteConnectionLost(Display*, void* lost) {
    *static_cast<bool*>(lost) = true;
}

class X11IdleMonitor final : public IdleMonitor {
  public:
    X11IdleMonitor(Display* display, long long idleMs) : display_(display), idleMs_(idleMs) {
        info_ = XScreenSaverAllocInfo();
        XSetIOErrorHandler(IgnoreConnectionLost);
        XSetIOErrorExitHandler(display_, NoteConnectionLost, &lost_);
    }
    ~X11IdleMonitor() override {
        XFree(info_);
        XCloseDisplay(display_);
    }

    IdleState Wait(int timeoutMs) override {
        // No events are selected, so the socket turns readable only when the server closes
        // it (the query then meets the loss) or sends what every client gets (mapping
        // changes), which is read and dropped.
        pollfd watched{ConnectionNumber(display_), POLLIN, 0};
        poll(&watched, 1, std::min(timeoutMs, kReadEveryMs));
        DropEvents();
        if (lost_ || !XScreenSaverQueryInfo(display_, DefaultRootWindow(display_), info_) ||
            lost_) {
            return IdleState::ended;
        }
        return static_cast<long long>(info_->idle) >= idleMs_ ? IdleState::idle : IdleState::active;
    }

  private:
    void DropEvents() {
        XEvent event;
        while (!lost_ && XPending(display_) > 0) XNextEvent(display_, &event);
    }

    Display* display_;
    long long idleMs_;
    XScreenSaverInfo* info_;
    bool lost_ = false;
};

}  // namespace

std::unique_ptr<IdleMonitor> OpenX11IdleMonitor(long long idleMs) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    int event = 0;
    int error = 0;
    if (!XScreenSaverQueryExtension(display, &event, &error)) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::make_unique<X11IdleMonitor>(display, idleMs);
}
