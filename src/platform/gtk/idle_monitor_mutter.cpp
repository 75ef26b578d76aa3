// The idle source of a GNOME session, whose compositor offers no Wayland idle protocol:
// mutter's idle monitor on the session bus (org.gnome.Mutter.IdleMonitor), told to signal
// (WatchFired) when the session has been idle for the wait (an idle watch, which fires on each
// stretch) and on the next input after that (a user-active watch, which fires once and is
// added again on each stretch); and the session manager's inhibitors (org.gnome.SessionManager
// IsInhibited for idle: a playing video, a presentation), which keep the session from counting
// as idle, looked at again when one is removed. A session without a session manager has no
// inhibitors. The bus going away is the session's end. The wait is one poll over the main
// context's descriptors, where GDBus delivers the signals, and the caller's.
#include <gio/gio.h>
#include <glib.h>

#include <memory>
#include <span>
#include <vector>

#include "platform/idle_monitor.h"

namespace {

constexpr int kCallTimeoutMs = 2000;
constexpr guint kInhibitIdle = 8;  // GsmInhibitorFlag's idle
constexpr char kMonitorName[] = "org.gnome.Mutter.IdleMonitor";
constexpr char kMonitorPath[] = "/org/gnome/Mutter/IdleMonitor/Core";
constexpr char kManagerName[] = "org.gnome.SessionManager";
constexpr char kManagerPath[] = "/org/gnome/SessionManager";

GVariant* CallSync(GDBusConnection* bus, const char* name, const char* path, const char* interface,
                   const char* method, GVariant* arguments) {
    return g_dbus_connection_call_sync(bus, name, path, interface, method, arguments, nullptr,
                                       G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs, nullptr,
                                       nullptr);
}

GVariant* CallMonitor(GDBusConnection* bus, const char* method, GVariant* arguments) {
    return CallSync(bus, kMonitorName, kMonitorPath, kMonitorName, method, arguments);
}

// Mutter's idle time in milliseconds; false when mutter does not answer.
bool ReadIdleTime(GDBusConnection* bus, guint64& idleMs) {
    GVariant* reply = CallMonitor(bus, "GetIdletime", nullptr);
    if (!reply) return false;
    g_variant_get(reply, "(t)", &idleMs);
    g_variant_unref(reply);
    return true;
}

// A watch's id; 0 when mutter refused it.
guint AddWatch(GDBusConnection* bus, const char* method, GVariant* arguments) {
    GVariant* reply = CallMonitor(bus, method, arguments);
    if (!reply) return 0;
    guint id = 0;
    g_variant_get(reply, "(u)", &id);
    g_variant_unref(reply);
    return id;
}

bool IdleInhibited(GDBusConnection* bus) {
    GVariant* reply = CallSync(bus, kManagerName, kManagerPath, kManagerName, "IsInhibited",
                               g_variant_new("(u)", kInhibitIdle));
    if (!reply) return false;
    gboolean inhibited = FALSE;
    g_variant_get(reply, "(b)", &inhibited);
    g_variant_unref(reply);
    return inhibited;
}

class MutterIdleMonitor final : public IdleMonitor {
  public:
    MutterIdleMonitor(GDBusConnection* bus, long long idleMs) : bus_(bus), idleMs_(idleMs) {
        watchFired_ = g_dbus_connection_signal_subscribe(
            bus_, kMonitorName, kMonitorName, "WatchFired", kMonitorPath, nullptr,
            G_DBUS_SIGNAL_FLAGS_NONE, OnWatchFired, this, nullptr);
        inhibitorRemoved_ = g_dbus_connection_signal_subscribe(
            bus_, kManagerName, kManagerName, "InhibitorRemoved", kManagerPath, nullptr,
            G_DBUS_SIGNAL_FLAGS_NONE, OnInhibitorRemoved, this, nullptr);
        idleWatch_ = AddWatch(bus_, "AddIdleWatch", g_variant_new("(t)", idleMs_));
        guint64 idleNow = 0;
        if (ReadIdleTime(bus_, idleNow) && static_cast<long long>(idleNow) >= idleMs_) BecomeIdle();
    }
    ~MutterIdleMonitor() override {
        g_dbus_connection_signal_unsubscribe(bus_, watchFired_);
        g_dbus_connection_signal_unsubscribe(bus_, inhibitorRemoved_);
        g_object_unref(bus_);
    }

    bool Watching() const { return idleWatch_ != 0; }

    IdleState Wait(int timeoutMs, std::span<const int> alsoWatched) override {
        PollContext(timeoutMs, alsoWatched);
        if (g_dbus_connection_is_closed(bus_)) return IdleState::ended;
        return idle_ && !inhibited_ ? IdleState::idle : IdleState::active;
    }

  private:
    static void OnWatchFired(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                             const gchar*, GVariant* parameters, gpointer data) {
        auto* monitor = static_cast<MutterIdleMonitor*>(data);
        guint id = 0;
        g_variant_get(parameters, "(u)", &id);
        if (id == monitor->idleWatch_) monitor->BecomeIdle();
        if (id != 0 && id == monitor->activeWatch_) {
            monitor->activeWatch_ = 0;
            monitor->idle_ = false;
        }
    }

    static void OnInhibitorRemoved(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                   const gchar*, GVariant*, gpointer data) {
        auto* monitor = static_cast<MutterIdleMonitor*>(data);
        if (monitor->idle_) monitor->inhibited_ = IdleInhibited(monitor->bus_);
    }

    // The user-active watch comes after the idle one has fired; input in between would be
    // missed by it, so the idle time is read once more after adding it.
    void BecomeIdle() {
        if (activeWatch_ == 0) activeWatch_ = AddWatch(bus_, "AddUserActiveWatch", nullptr);
        guint64 idleNow = 0;
        idle_ = ReadIdleTime(bus_, idleNow) && static_cast<long long>(idleNow) >= idleMs_;
        inhibited_ = idle_ && IdleInhibited(bus_);
    }

    void PollContext(int timeoutMs, std::span<const int> alsoWatched) {
        GMainContext* context = g_main_context_default();
        if (!g_main_context_acquire(context)) return;
        gint priority = 0;
        g_main_context_prepare(context, &priority);
        gint contextTimeout = -1;
        std::vector<GPollFD> watched(8);
        gint count = 0;
        while ((count = g_main_context_query(context, priority, &contextTimeout, watched.data(),
                                             static_cast<gint>(watched.size()))) >
               static_cast<gint>(watched.size())) {
            watched.resize(static_cast<std::size_t>(count));
        }
        watched.resize(static_cast<std::size_t>(count));
        for (int descriptor : alsoWatched) watched.push_back({descriptor, G_IO_IN, 0});
        g_poll(watched.data(), static_cast<guint>(watched.size()),
               Sooner(timeoutMs, contextTimeout));
        if (g_main_context_check(context, priority, watched.data(), count))
            g_main_context_dispatch(context);
        g_main_context_release(context);
    }

    // Of two timeouts where -1 is none, the one that ends first.
    static int Sooner(int a, int b) {
        if (a < 0) return b;
        if (b < 0) return a;
        return a < b ? a : b;
    }

    GDBusConnection* bus_;
    long long idleMs_;
    guint watchFired_ = 0;
    guint inhibitorRemoved_ = 0;
    guint idleWatch_ = 0;
    guint activeWatch_ = 0;
    bool idle_ = false;
    bool inhibited_ = false;
};

}  // namespace

std::unique_ptr<IdleMonitor> OpenMutterIdleMonitor(long long idleMs) {
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus) return nullptr;
    // The bus's end is the session's, which the caller's loop handles; GIO would end the
    // process.
    g_dbus_connection_set_exit_on_close(bus, FALSE);
    guint64 idleTime = 0;
    if (!ReadIdleTime(bus, idleTime)) {
        g_object_unref(bus);
        return nullptr;
    }
    auto monitor = std::make_unique<MutterIdleMonitor>(bus, idleMs);
    if (!monitor->Watching()) return nullptr;
    return monitor;
}
