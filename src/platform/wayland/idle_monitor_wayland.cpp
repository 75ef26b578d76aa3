// The idle source of a Wayland session: ext_idle_notify_v1 where the compositor offers it,
// else KDE's org_kde_kwin_idle (KWin and wlroots compositors). Both count only the seat's
// input and hold the idle state back while a client holds an idle inhibitor. Both tell their
// news as events, so a wait is one poll over the connection and the caller's descriptors.
#include <wayland-client.h>

#include <cstring>
#include <memory>
#include <span>

#include "ext-idle-notify-v1-client-protocol.h"
#include "kde-idle-client-protocol.h"
#include "platform/idle_monitor.h"
#include "platform/idle_poll.h"
#include "platform/wayland/wayland_read.h"

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
    // The client's objects go first: disconnecting frees none of them.
    ~WaylandIdleMonitor() override {
        if (extNotification_) ext_idle_notification_v1_destroy(extNotification_);
        if (kdeNotification_) org_kde_kwin_idle_timeout_release(kdeNotification_);
        if (globals_.notifier) ext_idle_notifier_v1_destroy(globals_.notifier);
        if (globals_.kdeIdle) org_kde_kwin_idle_destroy(globals_.kdeIdle);
        if (globals_.seat) wl_seat_destroy(globals_.seat);
        if (registry_) wl_registry_destroy(registry_);
        wl_display_disconnect(display_);
    }

    // False when the compositor offers no idle protocol (or no seat).
    bool Watch(long long idleMs) {
        registry_ = wl_display_get_registry(display_);
        wl_registry_add_listener(registry_, &kRegistryListener, &globals_);
        if (!RoundTripWithin(display_, kFirstAnswerMs) || !globals_.seat) return false;
        const auto timeout = static_cast<uint32_t>(idleMs);
        if (globals_.notifier) {
            extNotification_ = ext_idle_notifier_v1_get_idle_notification(globals_.notifier,
                                                                          timeout, globals_.seat);
            ext_idle_notification_v1_add_listener(extNotification_, &kExtListener, &state_);
        } else if (globals_.kdeIdle) {
            kdeNotification_ =
                org_kde_kwin_idle_get_idle_timeout(globals_.kdeIdle, globals_.seat, timeout);
            org_kde_kwin_idle_timeout_add_listener(kdeNotification_, &kKdeListener, &state_);
        } else {
            return false;
        }
        return wl_display_flush(display_) >= 0;
    }

    IdleState Wait(int timeoutMs, std::span<const int> alsoWatched) override {
        if (state_ == IdleState::ended) return state_;
        // The first read empties libwayland's queue, so the poll cannot sleep over events
        // that have already arrived; the second reads what woke it.
        bool alive = ReadWaylandEvents(display_, 0);
        if (alive) {
            SleepUntilReadable(wl_display_get_fd(display_), timeoutMs, alsoWatched);
            alive = ReadWaylandEvents(display_, 0);
        }
        if (!alive) state_ = IdleState::ended;
        return state_;
    }

  private:
    wl_display* display_;
    wl_registry* registry_ = nullptr;
    Globals globals_;
    ext_idle_notification_v1* extNotification_ = nullptr;
    org_kde_kwin_idle_timeout* kdeNotification_ = nullptr;
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
