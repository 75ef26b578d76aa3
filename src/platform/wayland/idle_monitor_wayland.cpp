// The idle source of a Wayland session: ext_idle_notify_v1 where the compositor offers it,
// else KDE's org_kde_kwin_idle (KWin and wlroots compositors). Both count only the seat's
// input and hold the idle state back while a client holds an idle inhibitor.
#include <poll.h>
#include <wayland-client.h>

#include <cstring>
#include <memory>

#include "ext-idle-notify-v1-client-protocol.h"
#include "kde-idle-client-protocol.h"
#include "platform/idle_monitor.h"

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    ext_idle_notifier_v1* notifier = nullptr;
    org_kde_kwin_idle* kdeIdle = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* globals = static_cast<Globals*>(data);
    if (!globals->seat && std::strcmp(interface, wl_seat_interface.name) == 0) {
        globals->seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0) {
        globals->notifier = static_cast<ext_idle_notifier_v1*>(
            wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1));
    } else if (std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0) {
        globals->kdeIdle = static_cast<org_kde_kwin_idle*>(
            wl_registry_bind(registry, name, &org_kde_kwin_idle_interface, 1));
    }
}

void OnGlobalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

void SetIdle(void* data) {
    *static_cast<IdleState*>(data) = IdleState::idle;
}
void SetActive(void* data) {
    *static_cast<IdleState*>(data) = IdleState::active;
}

const ext_idle_notification_v1_listener kExtListener = {
    [](void* data, ext_idle_notification_v1*) { SetIdle(data); },
    [](void* data, ext_idle_notification_v1*) { SetActive(data); }};
const org_kde_kwin_idle_timeout_listener kKdeListener = {
    [](void* data, org_kde_kwin_idle_timeout*) { SetIdle(data); },
    [](void* data, org_kde_kwin_idle_timeout*) { SetActive(data); }};

class WaylandIdleMonitor final : public IdleMonitor {
  public:
    explicit WaylandIdleMonitor(wl_display* display) : display_(display) {}
    ~WaylandIdleMonitor() override { wl_display_disconnect(display_); }

    // False when the compositor offers no idle protocol (or no seat).
    bool Watch(long long idleMs) {
        Globals globals;
        wl_registry* registry = wl_display_get_registry(display_);
        wl_registry_add_listener(registry, &kRegistryListener, &globals);
        if (wl_display_roundtrip(display_) < 0 || !globals.seat) return false;
        const auto timeout = static_cast<uint32_t>(idleMs);
        if (globals.notifier) {
            auto* notification =
                ext_idle_notifier_v1_get_idle_notification(globals.notifier, timeout, globals.seat);
            ext_idle_notification_v1_add_listener(notification, &kExtListener, &state_);
        } else if (globals.kdeIdle) {
            auto* notification =
                org_kde_kwin_idle_get_idle_timeout(globals.kdeIdle, globals.seat, timeout);
            org_kde_kwin_idle_timeout_add_listener(notification, &kKdeListener, &state_);
        } else {
            return false;
        }
        return wl_display_flush(display_) >= 0;
    }

    IdleState Wait(int timeoutMs) override {
        if (state_ != IdleState::ended && !ReadEvents(timeoutMs)) state_ = IdleState::ended;
        return state_;
    }

  private:
    // The usual read of a client that waits on other things too; false once the connection
    // has failed or closed.
    bool ReadEvents(int timeoutMs) {
        while (wl_display_prepare_read(display_) != 0) {
            if (wl_display_dispatch_pending(display_) < 0) return false;
        }
        if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(display_);
            return false;
        }
        pollfd watched{wl_display_get_fd(display_), POLLIN, 0};
        if (poll(&watched, 1, timeoutMs) <= 0) {
            wl_display_cancel_read(display_);
            return true;
        }
        if (wl_display_read_events(display_) < 0) return false;
        return wl_display_dispatch_pending(display_) >= 0;
    }

    wl_display* display_;
    IdleState state_ = IdleState::active;
};

}  // namespace

std::unique_ptr<IdleMonitor> OpenWaylandIdleMonitor(long long idleMs) {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return nullptr;
    auto monitor = std::make_unique<WaylandIdleMonitor>(display);
    if (!monitor->Watch(idleMs)) return nullptr;
    return monitor;
}
