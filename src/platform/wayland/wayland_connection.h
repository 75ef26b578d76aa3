// The saver's connection to a Wayland compositor, and what the compositor offers on it: the
// globals the saver binds, each output as it is now (outputs come and go while the saver runs:
// a monitor plugged in or out, a dock), and the seats, whose input wayland_input.cpp reads.
#pragma once
#include <wayland-client.h>

#include <cstdint>
#include <list>

#include "fractional-scale-v1-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

struct WaylandOutput {
    wl_output* output = nullptr;
    zxdg_output_v1* layout = nullptr;  // null where the compositor has no xdg-output
    std::uint32_t name = 0;            // the registry's
    std::uint32_t version = 0;         // bound
    int width = 0, height = 0;         // the current mode, in pixels
    int refreshMilliHertz = 0;
    int scale = 1;           // the integer scale the compositor asks of buffers shown on it
    int x = 0, y = 0;        // its place in the desktop's layout, in the layout's (logical) units
    bool announced = false;  // its first description is complete
    bool gone = false;       // removed by the compositor; its record goes once nothing uses it
};

struct WaylandConnection {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    xdg_wm_base* wmBase = nullptr;
    zwlr_layer_shell_v1* layerShell = nullptr;  // null where the compositor has none
    // Null where the compositor has none; buffers then follow the outputs' integer scales.
    wp_viewporter* viewporter = nullptr;
    wp_fractional_scale_manager_v1* fractionalScale = nullptr;
    zxdg_output_manager_v1* outputLayout = nullptr;
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
// The first output still there; null when none is.
WaylandOutput* FirstOutput(WaylandConnection& connection);

// The seats' keyboards and pointers (wayland_input.cpp): a seat announced, and one removed by
// its registry name.
void AddSeat(WaylandConnection& connection, wl_seat* seat, std::uint32_t name);
void RemoveSeat(std::uint32_t name);
// After the saver's surfaces have mapped: makes sure the pointer's surface is known, as
// RefreshPointerFocus in wayland_input.cpp explains.
void RefreshPointerFocus(WaylandConnection& connection);
// An output came, changed or went (saver_window_wayland.cpp): the saver's windows cover the
// outputs as they are now.
void FollowOutputs(WaylandConnection& connection);
