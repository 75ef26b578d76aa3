// The compositor's globals, bound at the first use of the connection: two round trips, the
// first for the registry's announcements, the second for what the bound outputs and the seat
// say of themselves.
#include "platform/wayland/wayland_connection.h"

#include "platform/wayland/wayland_read.h"

#include <cstdlib>
#include <cstring>

namespace {

WaylandConnection* opened = nullptr;

void OutputGeometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*,
                    const char*, int32_t) {}

void OutputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height,
                int32_t refresh) {
    if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
    auto* output = static_cast<WaylandOutput*>(data);
    output->width = width;
    output->height = height;
    output->refreshMilliHertz = refresh;
}

void OutputDone(void*, wl_output*) {}
void OutputScale(void*, wl_output*, int32_t) {}

// Names and descriptions come only at versions above the one bound.
const wl_output_listener kOutputListener = {OutputGeometry, OutputMode, OutputDone,
                                            OutputScale,    nullptr,    nullptr};

void WmBasePing(void*, xdg_wm_base* base, uint32_t serial) {
    xdg_wm_base_pong(base, serial);
}

const xdg_wm_base_listener kWmBaseListener = {WmBasePing};

template <typename T>
T* Bind(wl_registry* registry, uint32_t name, const wl_interface* interface, uint32_t offered,
        uint32_t wanted) {
    const uint32_t version = offered < wanted ? offered : wanted;
    return static_cast<T*>(wl_registry_bind(registry, name, interface, version));
}

void AddGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
               uint32_t version) {
    auto* connection = static_cast<WaylandConnection*>(data);
    if (std::strcmp(interface, wl_compositor_interface.name) == 0) {
        connection->compositor =
            Bind<wl_compositor>(registry, name, &wl_compositor_interface, version, 4);
    } else if (std::strcmp(interface, wl_shm_interface.name) == 0) {
        connection->shm = Bind<wl_shm>(registry, name, &wl_shm_interface, version, 1);
    } else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0) {
        connection->wmBase = Bind<xdg_wm_base>(registry, name, &xdg_wm_base_interface, version, 1);
        xdg_wm_base_add_listener(connection->wmBase, &kWmBaseListener, nullptr);
    } else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0) {
        connection->layerShell =
            Bind<zwlr_layer_shell_v1>(registry, name, &zwlr_layer_shell_v1_interface, version, 1);
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && connection->seat == nullptr) {
        connection->seat = Bind<wl_seat>(registry, name, &wl_seat_interface, version, 5);
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        connection->virtualPointers = Bind<zwlr_virtual_pointer_manager_v1>(
            registry, name, &zwlr_virtual_pointer_manager_v1_interface, version, 1);
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        WaylandOutput output;
        output.output = Bind<wl_output>(registry, name, &wl_output_interface, version, 2);
        output.name = name;
        connection->outputs.push_back(output);
    }
}

void RemoveGlobal(void* data, wl_registry*, uint32_t name) {
    auto* connection = static_cast<WaylandConnection*>(data);
    std::erase_if(connection->outputs,
                  [name](const WaylandOutput& output) { return output.name == name; });
}

const wl_registry_listener kRegistryListener = {AddGlobal, RemoveGlobal};

}  // namespace

// Tried once: a compositor that did not answer is not asked again at every call.
WaylandConnection* SaverWaylandConnection() {
    static bool tried = false;
    if (opened != nullptr || tried) return opened;
    tried = true;
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) return nullptr;
    auto* connection = new WaylandConnection;
    connection->display = display;
    connection->registry = wl_display_get_registry(display);
    wl_registry_add_listener(connection->registry, &kRegistryListener, connection);
    bool answered = RoundTripWithin(display, kFirstAnswerMs);
    for (WaylandOutput& output : connection->outputs) {
        wl_output_add_listener(output.output, &kOutputListener, &output);
    }
    if (connection->seat != nullptr) ListenToSeat(*connection);
    answered = answered && RoundTripWithin(display, kFirstAnswerMs);
    // GTK (the boxes, the dialog) would wait on the same compositor for ever: for this
    // process it is not there, and GTK then opens on X11 or says it has no display.
    if (!answered) unsetenv("WAYLAND_DISPLAY");
    const bool usable = answered && connection->compositor != nullptr &&
                        connection->shm != nullptr &&
                        (connection->layerShell != nullptr || connection->wmBase != nullptr) &&
                        !connection->outputs.empty();
    if (!usable) {
        wl_display_disconnect(display);
        delete connection;
        return nullptr;
    }
    opened = connection;
    return opened;
}

WaylandConnection* OpenedWaylandConnection() {
    return opened;
}
