#include "platform/wayland/wayland_read.h"

#include <poll.h>

#include <cerrno>

#include "platform/frame_clock.h"

namespace {

void NoteDone(void* data, wl_callback* callback, uint32_t) {
    *static_cast<bool*>(data) = true;
    wl_callback_destroy(callback);
}

const wl_callback_listener kDoneListener = {NoteDone};

}  // namespace

bool ReadWaylandEvents(wl_display* display, int timeoutMs) {
    // Events already queued must be dispatched before a read may begin; a dispatch that fails
    // means the connection is dead, and trying again would spin.
    while (wl_display_prepare_read(display) != 0) {
        if (wl_display_dispatch_pending(display) < 0) return false;
    }
    if (wl_display_flush(display) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(display);
        return false;
    }
    pollfd watched{wl_display_get_fd(display), POLLIN, 0};
    if (poll(&watched, 1, timeoutMs) <= 0) {
        wl_display_cancel_read(display);
        return wl_display_get_error(display) == 0;
    }
    // A closed socket reads as readable: the read then fails.
    if (wl_display_read_events(display) < 0) return false;
    return wl_display_dispatch_pending(display) >= 0;
}

bool RoundTripWithin(wl_display* display, int timeoutMs) {
    bool done = false;
    wl_callback* callback = wl_display_sync(display);
    wl_callback_add_listener(callback, &kDoneListener, &done);
    const long long deadline = MonotonicMilliseconds() + timeoutMs;
    bool alive = true;
    while (!done && alive) {
        const long long left = deadline - MonotonicMilliseconds();
        if (left <= 0) break;
        alive = ReadWaylandEvents(display, static_cast<int>(left));
    }
    if (!done) wl_callback_destroy(callback);
    return done;
}
