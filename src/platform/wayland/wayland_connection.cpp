// The compositor's globals, bound at the first use of the connection: two round trips, the
// first for the registry's announcements, the second for what the bound outputs and the seat
// say of themselves.
#include "platform/wayland/wayland_connection.h"

#include "platform/wayland/wayland_read.h"

#include <cstdlib>
#include <cstring>

namespace {

WaylandConnection* opened = nullptr;

// The geometry's place is the layout's where the compositor has no xdg-output.
void OutputGeometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t,
                    const char*, const char*, int32_t) {
    auto* output = static_cast<WaylandOutput*>(data);
    if (output->layout == nullptr) {
        output->x = x;
        output->y = y;
    }
}

void OutputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height,
                int32_t refresh) {
    if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
    auto* output = static_cast<WaylandOutput*>(data);
    output->width = width;
    output->height = height;
    output->refreshMilliHertz = refresh;
}

// A description is complete at `done`: a new output, a new mode or a new scale is followed
// from there.
void OutputDone(void* data, wl_output*) {
    static_cast<WaylandOutput*>(data)->announced = true;
    if (opened != nullptr) FollowOutputs(*opened);
}

void OutputScale(void* data, wl_output*, int32_t factor) {
    static_cast<WaylandOutput*>(data)->scale = factor > 0 ? factor : 1;
}

void OutputName(void*, wl_output*, const char*) {}
void OutputDescription(void*, wl_output*, const char*) {}

// Filled by name from an empty record, as the seat's listeners are (wayland_input.cpp).
wl_output_listener OutputListener() {
    wl_output_listener listener{};
    listener.geometry = OutputGeometry;
    listener.mode = OutputMode;
    listener.done = OutputDone;
    listener.scale = OutputScale;
    listener.name = OutputName;
    listener.description = OutputDescription;
    return listener;
}

const wl_output_listener kOutputListener = OutputListener();

void LayoutPosition(void* data, zxdg_output_v1*, int32_t x, int32_t y) {
    auto* output = static_cast<WaylandOutput*>(data);
    output->x = x;
    output->y = y;
}

void LayoutSize(void*, zxdg_output_v1*, int32_t, int32_t) {}
void LayoutDone(void*, zxdg_output_v1*) {}
void LayoutName(void*, zxdg_output_v1*, const char*) {}
void LayoutDescription(void*, zxdg_output_v1*, const char*) {}

const zxdg_output_v1_listener kLayoutListener = {LayoutPosition, LayoutSize, LayoutDone, LayoutName,
                                                 LayoutDescription};

void WatchLayout(WaylandConnection& connection, WaylandOutput& output) {
    if (connection.outputLayout == nullptr || output.layout != nullptr) return;
    output.layout = zxdg_output_manager_v1_get_xdg_output(connection.outputLayout, output.output);
    zxdg_output_v1_add_listener(output.layout, &kLayoutListener, &output);
}

void ReleaseOutput(WaylandOutput& output) {
    if (output.layout != nullptr) zxdg_output_v1_destroy(output.layout);
    if (output.version >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
        wl_output_release(output.output);
    } else {
        wl_output_destroy(output.output);
    }
}

void WmBasePing(void*, xdg_wm_base* base, uint32_t serial) {
    xdg_wm_base_pong(base, serial);
}

const xdg_wm_base_listener kWmBaseListener = {WmBasePing};

uint32_t VersionToBind(uint32_t offered, uint32_t wanted) {
    return offered < wanted ? offered : wanted;
}

template <typename T>
T* Bind(wl_registry* registry, uint32_t name, const wl_interface* interface, uint32_t offered,
        uint32_t wanted) {
    return static_cast<T*>(
        wl_registry_bind(registry, name, interface, VersionToBind(offered, wanted)));
}

// Version 4 of wl_output names it; 3 is the first an output can be let go at.
constexpr uint32_t kOutputVersion = 4;

void AddOutput(WaylandConnection& connection, wl_registry* registry, uint32_t name,
               uint32_t version) {
    WaylandOutput& output = connection.outputs.emplace_back();
    output.version = VersionToBind(version, kOutputVersion);
    output.output = Bind<wl_output>(registry, name, &wl_output_interface, version, kOutputVersion);
    output.name = name;
    wl_output_add_listener(output.output, &kOutputListener, &output);
    WatchLayout(connection, output);
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
    } else if (std::strcmp(interface, wp_viewporter_interface.name) == 0) {
        connection->viewporter =
            Bind<wp_viewporter>(registry, name, &wp_viewporter_interface, version, 1);
    } else if (std::strcmp(interface, wp_fractional_scale_manager_v1_interface.name) == 0) {
        connection->fractionalScale = Bind<wp_fractional_scale_manager_v1>(
            registry, name, &wp_fractional_scale_manager_v1_interface, version, 1);
    } else if (std::strcmp(interface, zxdg_output_manager_v1_interface.name) == 0) {
        connection->outputLayout = Bind<zxdg_output_manager_v1>(
            registry, name, &zxdg_output_manager_v1_interface, version, 2);
        for (WaylandOutput& output : connection->outputs) WatchLayout(*connection, output);
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0) {
        AddSeat(*connection, Bind<wl_seat>(registry, name, &wl_seat_interface, version, 5), name);
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        connection->virtualPointers = Bind<zwlr_virtual_pointer_manager_v1>(
            registry, name, &zwlr_virtual_pointer_manager_v1_interface, version, 1);
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        AddOutput(*connection, registry, name, version);
    }
}

// A removed output's surfaces go first (the show moves to another output), then the record.
void RemoveGlobal(void* data, wl_registry*, uint32_t name) {
    auto* connection = static_cast<WaylandConnection*>(data);
    RemoveSeat(name);
    for (auto output = connection->outputs.begin(); output != connection->outputs.end(); ++output) {
        if (output->name != name) continue;
        output->gone = true;
        if (opened != nullptr) FollowOutputs(*opened);
        ReleaseOutput(*output);
        connection->outputs.erase(output);
        return;
    }
}

const wl_registry_listener kRegistryListener = {AddGlobal, RemoveGlobal};

bool HasAnnouncedOutput(WaylandConnection& connection) {
    return FirstOutput(connection) != nullptr;
}

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
    // The first answer brings the globals, the second what the outputs and seats say.
    bool answered = RoundTripWithin(display, kFirstAnswerMs);
    answered = answered && RoundTripWithin(display, kFirstAnswerMs);
    // GTK (the boxes, the dialog) would wait on the same compositor for ever: for this
    // process it is not there, and GTK then opens on X11 or says it has no display.
    if (!answered) unsetenv("WAYLAND_DISPLAY");
    const bool usable = answered && connection->compositor != nullptr &&
                        connection->shm != nullptr &&
                        (connection->layerShell != nullptr || connection->wmBase != nullptr) &&
                        HasAnnouncedOutput(*connection);
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

WaylandOutput* FirstOutput(WaylandConnection& connection) {
    for (WaylandOutput& output : connection.outputs) {
        if (output.announced && !output.gone && output.width > 0) return &output;
    }
    return nullptr;
}
