// The desktop's idle delay on GNOME: org.gnome.desktop.session idle-delay, read through
// GSettings only when that schema is installed (GSettings aborts on an unknown schema).
#include <gio/gio.h>

#include "platform/idle_monitor.h"

unsigned DesktopIdleDelaySeconds() {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (!source) return 0;
    GSettingsSchema* schema =
        g_settings_schema_source_lookup(source, "org.gnome.desktop.session", TRUE);
    if (!schema) return 0;
    const bool known = g_settings_schema_has_key(schema, "idle-delay");
    g_settings_schema_unref(schema);
    if (!known) return 0;
    GSettings* settings = g_settings_new("org.gnome.desktop.session");
    const unsigned seconds = g_settings_get_uint(settings, "idle-delay");
    g_object_unref(settings);
    return seconds;
}
