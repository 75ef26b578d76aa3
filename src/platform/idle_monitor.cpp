// The idle sources the program carries, chosen by the session it runs in: a Wayland session
// (WAYLAND_DISPLAY named) is watched only through its compositor, since the X server there is
// XWayland, which sees only the input given to X clients; an X11 session only through its X
// server. Within a Wayland session the idle protocols come first and mutter's bus monitor
// serves GNOME, whose compositor offers none.
#include "platform/idle_monitor.h"

#include <cstdlib>

#ifdef VOSTREL_WINDOW_SYSTEM_WAYLAND
std::unique_ptr<IdleMonitor> OpenWaylandIdleMonitor(long long idleMs);
std::unique_ptr<IdleMonitor> OpenMutterIdleMonitor(long long idleMs);
#endif
#ifdef VOSTREL_WINDOW_SYSTEM_X11
std::unique_ptr<IdleMonitor> OpenX11IdleMonitor(long long idleMs);
#endif

namespace {

using IdleSource = std::unique_ptr<IdleMonitor> (*)(long long idleMs);

const IdleSource kWaylandSources[] = {
#ifdef VOSTREL_WINDOW_SYSTEM_WAYLAND
    OpenWaylandIdleMonitor,
    OpenMutterIdleMonitor,
#endif
    nullptr,
};

const IdleSource kX11Sources[] = {
#ifdef VOSTREL_WINDOW_SYSTEM_X11
    OpenX11IdleMonitor,
#endif
    nullptr,
};

bool InWaylandSession() {
    const char* display = std::getenv("WAYLAND_DISPLAY");
    return display && *display;
}

}  // namespace

std::unique_ptr<IdleMonitor> OpenIdleMonitor(long long idleMs) {
    for (const IdleSource* open = InWaylandSession() ? kWaylandSources : kX11Sources; *open;
         ++open) {
        if (auto monitor = (*open)(idleMs)) return monitor;
    }
    return nullptr;
}
