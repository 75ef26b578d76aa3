// The idle source of a GNOME session, whose compositor offers no Wayland idle protocol:
// mutter's idle monitor on the session bus (org.gnome.Mutter.IdleMonitor, the time since the
// last input), read a few times a second, and the session manager's inhibitors
// (org.gnome.SessionManager IsInhibited for idle: a playing video, a presentation), which keep
// the session from counting as idle. A session without a session manager has no inhibitors.
// The monitor or the bus going away is the session's end.
#include <gio/gio.h>

#include <algorithm>
#include <memory>

#include "platform/idle_monitor.h"

namespace {

constexpr int kReadEveryMs = 200;
constexpr int kCallTimeoutMs = 2000;
constexpr guint kInhibitIdle = 8;  // GsmInhibitorFlag's idle

GVariant* CallSync(GDBusConnection* bus, const char* name, const char* path, const char* interface,
                   const char* method, GVariant* arguments) {
    return g_dbus_connection_call_sync(bus, name, path, interface, method, arguments, nullptr,
                                       G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs, nullptr,
                                       nullptr);
}

// Mutter's idle time in milliseconds; false when mutter does not answer.
bool ReadIdleTime(GDBusConnection* bus, guint64& idleMs) {
    GVariant* reply =
        CallSync(bus, "org.gnome.Mutter.IdleMonitor", "/org/gnome/Mutter/IdleMonitor/Core",
                 "org.gnome.Mutter.IdleMonitor", "GetIdletime", nullptr);
    if (!reply) return false;
    g_variant_get(reply, "(t)", &idleMs);
    g_variant_unref(reply);
    return true;
}

bool IdleInhibited(GDBusConnection* bus) {
    GVariant* reply =
        CallSync(bus, "org.gnome.SessionManager", "/org/gnome/SessionManager",
                 "org.gnome.SessionManager", "IsInhibited", g_variant_new("(u)", kInhibitIdle));
    if (!reply) return false;
    gboolean inhibited = FALSE;
    g_variant_get(reply, "(b)", &inhibited);
    g_variant_unref(reply);
    return inhibited;
}

class MutterIdleMonitor final : public IdleMonitor {
  public:
    MutterIdleMonitor(GDBusConnection* bus, long long idleMs) : bus_(bus), idleMs_(idleMs) {}
    ~MutterIdleMonitor() override { g_object_unref(bus_); }

    IdleState Wait(int timeoutMs) override {
        g_usleep(static_cast<gulong>(std::min(timeoutMs, kReadEveryMs)) * 1000);
        guint64 idleMs = 0;
        if (g_dbus_connection_is_closed(bus_) || !ReadIdleTime(bus_, idleMs))
            return IdleState::ended;
        if (static_cast<long long>(idleMs) < idleMs_) return IdleState::active;
        return IdleInhibited(bus_) ? IdleState::active : IdleState::idle;
    }

  private:
    GDBusConnection* bus_;
    long long idleMs_;
};

}  // namespace

std::unique_ptr<IdleMonitor> OpenMutterIdleMonitor(long long idleMs) {
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus) return nullptr;
    // The bus's end is the session's, which the loop above handles; GIO would end the process.
    g_dbus_connection_set_exit_on_close(bus, FALSE);
    guint64 idleTime = 0;
    if (!ReadIdleTime(bus, idleTime)) {
        g_object_unref(bus);
        return nullptr;
    }
    return std::make_unique<MutterIdleMonitor>(bus, idleMs);
}
