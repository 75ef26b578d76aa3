// The idle sources the program carries, in order of preference: the first the session answers
// on is watched.
#include "platform/idle_monitor.h"

#ifdef VOSTREL_WINDOW_SYSTEM_WAYLAND
std::unique_ptr<IdleMonitor> OpenWaylandIdleMonitor(long long idleMs);
#endif
#ifdef VOSTREL_WINDOW_SYSTEM_X11
std::unique_ptr<IdleMonitor> OpenX11IdleMonitor(long long idleMs);
#endif

namespace {

using IdleSource = std::unique_ptr<IdleMonitor> (*)(long long idleMs);

const IdleSource kIdleSources[] = {
#ifdef VOSTREL_WINDOW_SYSTEM_WAYLAND
    OpenWaylandIdleMonitor,
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
