// The saver's connection to a Wayland compositor, and what the compositor offers on it: the
// globals the saver binds and each output with its current mode.
#pragma once
#include <wayland-client.h>

#include <cstdint>
#include <list>

#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

struct WaylandOutput {
    wl_output* output = nullptr;
    std::uint32_t name = 0;  // the registry's
    int width = 0, height = 0;
    int refreshMilliHertz = 0;
};

struct WaylandConnection {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    xdg_wm_base* wmBase = nullptr;
    zwlr_layer_shell_v1* layerShell = nullptr;  // null where the compositor has none
    wl_seat* seat = nullptr;
    // Null where the compositor has none; only to make it look at the pointer again
    // (RefreshPointerFocus).
    zwlr_virtual_pointer_manager_v1* virtualPointers = nullptr;
    std::list<WaylandOutput> outputs;  // announced order; listeners hold their addresses
};

// Opened on first use, with every output's mode known; null when WAYLAND_DISPLAY names no
// compositor that answers, or one without a compositor or shell global.
WaylandConnection* SaverWaylandConnection();
// The connection if it was opened, without opening it.
WaylandConnection* OpenedWaylandConnection();

// Listens to the seat's keyboard and pointer (wayland_input.cpp).
void ListenToSeat(WaylandConnection& connection);
// After the saver's surfaces have mapped: makes sure the pointer's surface is known, as
// RefreshPointerFocus in wayland_input.cpp explains.
void RefreshPointerFocus(WaylandConnection& connection);
