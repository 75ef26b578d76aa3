// The idle sources the program carries, in order of preference: the first the session answers
// on is watched. GNOME's compositor (on Wayland as on X11) answers on the bus before the X
// server's counter is tried, since only the session manager knows GNOME's inhibitors.
#include "platform/idle_monitor.h"

// GNOME's source comes with the Wayland window system, being the one for its Wayland session.
#ifdef VOSTREL_WINDOW_SYSTEM_WAYLAND
std::unique_ptr<IdleMonitor> OpenWaylandIdleMonitor(long long idleMs);
std::unique_ptr<IdleMonitor> OpenMutterIdleMonitor(long long idleMs);
#endif
#ifdef VOSTREL_WINDOW_SYSTEM_X11
std::unique_ptr<IdleMonitor> OpenX11IdleMonitor(long long idleMs);
#endif

namespace {

using IdleSource = std::unique_ptr<IdleMonitor> (*)(long long idleMs);

const IdleSource kIdleSources[] = {
#ifdef VOSTREL_WINDOW_SYSTEM_WAYLAND
    OpenWaylandIdleMonitor,
    OpenMutterIdleMonitor,
#endif
#ifdef VOSTREL_WINDOW_SYSTEM_X11
    OpenX11IdleMonitor,
#endif
    nullptr,
};

}  // namespace

std::unique_ptr<IdleMonitor> OpenIdleMonitor(long long idleMs) {
    for (IdleSource open : kIdleSources) {
        if (!open) break;
        if (auto monitor = open(idleMs)) return monitor;
    }
    return nullptr;
}
