// The saver's toplevel exported through xdg-foreign, version 1: the one GTK 3 imports, and a
// compositor may keep each version's handles apart. A child of the exported toplevel, though
// another client's, is stacked above it by the compositor and takes the keyboard from it.
#include "platform/wayland/wayland_export.h"

#include <cstring>

#include "xdg-foreign-unstable-v1-client-protocol.h"

namespace {

zxdg_exporter_v1* exporter = nullptr;
zxdg_exported_v1* exported = nullptr;
std::string handle;

void AddGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    if (std::strcmp(interface, zxdg_exporter_v1_interface.name) == 0) {
        exporter = static_cast<zxdg_exporter_v1*>(
            wl_registry_bind(registry, name, &zxdg_exporter_v1_interface, 1));
    }
}

void RemoveGlobal(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener = {AddGlobal, RemoveGlobal};

// Looked for on a registry of its own when a box first needs it: nothing else of the saver
// does.
zxdg_exporter_v1* Exporter(wl_display* display) {
    static bool looked = false;
    if (!looked) {
        looked = true;
        wl_registry* registry = wl_display_get_registry(display);
        wl_registry_add_listener(registry, &kRegistryListener, nullptr);
        wl_display_roundtrip(display);
        wl_registry_destroy(registry);
    }
    return exporter;
}

void Handle(void*, zxdg_exported_v1*, const char* given) {
    handle = given;
}

const zxdg_exported_v1_listener kExportedListener = {Handle};

}  // namespace

std::string ExportToplevel(wl_display* display, wl_surface* surface) {
    EndToplevelExport();
    if (Exporter(display) == nullptr) return {};
    exported = zxdg_exporter_v1_export(exporter, surface);
    zxdg_exported_v1_add_listener(exported, &kExportedListener, nullptr);
    wl_display_roundtrip(display);
    return handle;
}

void EndToplevelExport() {
    if (exported != nullptr) zxdg_exported_v1_destroy(exported);
    exported = nullptr;
    handle.clear();
}
