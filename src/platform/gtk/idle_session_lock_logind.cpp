// IdleSessionLocked through logind on the system bus (which GIO finds at
// DBUS_SYSTEM_BUS_ADDRESS when that is set): the LockedHint of the session named by
// XDG_SESSION_ID, else of the caller's own (logind's "auto" session). Asked once per idle
// stretch, not watched.
#include <gio/gio.h>

#include <cstdlib>

#include "platform/idle_session_lock.h"

namespace {

constexpr int kCallTimeoutMs = 1000;
constexpr char kLogin[] = "org.freedesktop.login1";

GVariant* Call(GDBusConnection* bus, const char* path, const char* interface, const char* method,
               GVariant* arguments) {
    return g_dbus_connection_call_sync(bus, kLogin, path, interface, method, arguments, nullptr,
                                       G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs, nullptr,
                                       nullptr);
}

constexpr char kCallersSession[] = "/org/freedesktop/login1/session/auto";

// The session's object path, in a reply to free; null when logind does not answer.
GVariant* SessionPathReply(GDBusConnection* bus) {
    const char* id = std::getenv("XDG_SESSION_ID");
    if (!id || !*id) return g_variant_ref_sink(g_variant_new("(o)", kCallersSession));
    return Call(bus, "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "GetSession",
                g_variant_new("(s)", id));
}

bool LockedHint(GDBusConnection* bus, const char* sessionPath) {
    GVariant* reply = Call(bus, sessionPath, "org.freedesktop.DBus.Properties", "Get",
                           g_variant_new("(ss)", "org.freedesktop.login1.Session", "LockedHint"));
    if (!reply) return false;
    GVariant* value = nullptr;
    g_variant_get(reply, "(v)", &value);
    const bool locked =
        g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN) && g_variant_get_boolean(value);
    g_variant_unref(value);
    g_variant_unref(reply);
    return locked;
}

}  // namespace

bool IdleSessionLocked() {
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SYSTEM, nullptr, nullptr);
    if (!bus) return false;
    g_dbus_connection_set_exit_on_close(bus, FALSE);
    bool locked = false;
    if (GVariant* reply = SessionPathReply(bus)) {
        const char* path = nullptr;
        g_variant_get(reply, "(&o)", &path);
        locked = LockedHint(bus, path);
        g_variant_unref(reply);
    }
    g_object_unref(bus);
    return locked;
}
