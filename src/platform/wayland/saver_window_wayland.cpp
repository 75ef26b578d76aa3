// The saver windows on Wayland: the full-screen window's surfaces, one on each output, the
// show's on the first and black ones on the others, and their stepping aside for a box.
//
// Realised: where the compositor offers layer-shell (wlroots desktops, KWin), each surface is a
// layer surface on the overlay layer, anchored to every edge, ignoring other surfaces'
// exclusive zones (-1), the show's taking the keyboard exclusively; elsewhere (GNOME, weston)
// each is a fullscreen toplevel on its output. The desktop window stands for the first
// output. A child window cannot be made: Wayland has no foreign windows to be a child of.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <map>

#include "platform/wayland/wayland_connection.h"
#include "platform/wayland/wayland_read.h"
#include "platform/wayland/wayland_window_system.h"
#include "platform/wayland/wayland_windows.h"
#include "platform/windowing/window_messages.h"

namespace {

// Window ids: the desktop's, and the saver windows' counted from the next.
constexpr WindowId kDesktopWindow = 1;
WindowId lastWindow = kDesktopWindow;
std::map<WindowId, WaylandWindow> windows;
bool steppedAside = false;

constexpr uint32_t kAllEdges =
    ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
    ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;
constexpr const char* kLayerNamespace = "screensaver";

void LayerConfigure(void* data, zwlr_layer_surface_v1* layerSurface, uint32_t serial,
                    uint32_t width, uint32_t height) {
    auto* surface = static_cast<OutputSurface*>(data);
    surface->width = static_cast<int>(width);
    surface->height = static_cast<int>(height);
    surface->configured = true;
    zwlr_layer_surface_v1_ack_configure(layerSurface, serial);
}

// The compositor took the output away; the surface stays, showing nothing.
void LayerClosed(void*, zwlr_layer_surface_v1*) {}

const zwlr_layer_surface_v1_listener kLayerListener = {LayerConfigure, LayerClosed};

void XdgConfigure(void* data, xdg_surface* xdgSurface, uint32_t serial) {
    static_cast<OutputSurface*>(data)->configured = true;
    xdg_surface_ack_configure(xdgSurface, serial);
}

const xdg_surface_listener kXdgSurfaceListener = {XdgConfigure};

// A size of 0 leaves the choice to the client: the output's mode then.
void ToplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
    auto* surface = static_cast<OutputSurface*>(data);
    if (width > 0 && height > 0) {
        surface->width = width;
        surface->height = height;
    }
}

// The compositor's close button or shortcut: what WM_DELETE_WINDOW is on X.
void ToplevelClose(void*, xdg_toplevel*) {
    for (const auto& [id, window] : windows) {
        if (WindowLive(id)) PostWindowMessage(id, kWmSysCommand, kScClose, 0);
    }
}

// Bounds and capabilities come only at versions above the one bound.
const xdg_toplevel_listener kToplevelListener = {ToplevelConfigure, ToplevelClose, nullptr,
                                                 nullptr};

// Black, the size of the surface: Wayland draws no background of its own.
wl_buffer* BlackBuffer(wl_shm* shm, int width, int height) {
    const int stride = width * 4;
    const int size = stride * height;
    const int fd = memfd_create("vostrel-black", MFD_CLOEXEC);
    if (fd < 0) return nullptr;
    if (ftruncate(fd, size) != 0) {
        close(fd);
        return nullptr;
    }
    // A new file reads as zeros: black in XRGB.
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, size);
    wl_buffer* buffer =
        wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    return buffer;
}

void MakeLayerSurface(WaylandConnection& connection, const WaylandOutput& output,
                      OutputSurface& surface, bool takesKeyboard) {
    surface.layerSurface =
        zwlr_layer_shell_v1_get_layer_surface(connection.layerShell, surface.surface, output.output,
                                              ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, kLayerNamespace);
    zwlr_layer_surface_v1_add_listener(surface.layerSurface, &kLayerListener, &surface);
    zwlr_layer_surface_v1_set_size(surface.layerSurface, 0, 0);
    zwlr_layer_surface_v1_set_anchor(surface.layerSurface, kAllEdges);
    zwlr_layer_surface_v1_set_exclusive_zone(surface.layerSurface, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        surface.layerSurface, takesKeyboard ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE
                                            : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
}

void MakeToplevel(WaylandConnection& connection, const WaylandOutput& output,
                  OutputSurface& surface, const char* title) {
    surface.xdgSurface = xdg_wm_base_get_xdg_surface(connection.wmBase, surface.surface);
    xdg_surface_add_listener(surface.xdgSurface, &kXdgSurfaceListener, &surface);
    surface.toplevel = xdg_surface_get_toplevel(surface.xdgSurface);
    xdg_toplevel_add_listener(surface.toplevel, &kToplevelListener, &surface);
    xdg_toplevel_set_title(surface.toplevel, title);
    xdg_toplevel_set_app_id(surface.toplevel, "vostrel");
    xdg_toplevel_set_fullscreen(surface.toplevel, output.output);
}

// Gives each surface its role on its output, as the compositor offers: a layer surface, else a
// fullscreen toplevel; then waits for their configures.
void GiveRoles(WaylandConnection& connection, WaylandWindow& window) {
    auto output = connection.outputs.begin();
    for (std::size_t i = 0; i < window.surfaces.size() && output != connection.outputs.end();
         ++i, ++output) {
        OutputSurface& surface = window.surfaces[i];
        if (connection.layerShell != nullptr) {
            MakeLayerSurface(connection, *output, surface, i == 0);
        } else {
            MakeToplevel(connection, *output, surface, window.title.c_str());
        }
        wl_surface_commit(surface.surface);
    }
    wl_display_roundtrip(connection.display);
}

// Black until the GL draws: the show's surface too, as a window's background is, since a box
// that the set-up shows comes before the first frame.
void ShowBlack(WaylandWindow& window) {
    for (OutputSurface& surface : window.surfaces) {
        if (surface.blackBuffer == nullptr) continue;
        wl_surface_attach(surface.surface, surface.blackBuffer, 0, 0);
        wl_surface_commit(surface.surface);
    }
}

// Made, configured and black; the show's surface gets its content from the GL from then on.
bool MakeOutputSurfaces(WaylandConnection& connection, WaylandWindow& window) {
    window.surfaces.resize(connection.outputs.size());
    auto output = connection.outputs.begin();
    for (OutputSurface& surface : window.surfaces) {
        surface.width = output->width;
        surface.height = output->height;
        surface.surface = wl_compositor_create_surface(connection.compositor);
        ++output;
    }
    GiveRoles(connection, window);
    for (OutputSurface& surface : window.surfaces) {
        surface.blackBuffer = BlackBuffer(connection.shm, surface.width, surface.height);
    }
    ShowBlack(window);
    wl_display_roundtrip(connection.display);
    RefreshPointerFocus(connection);
    return !window.surfaces.empty() && window.surfaces.front().configured &&
           window.surfaces.front().width > 0;
}

// The role objects alone; the surface and what it shows stay.
void TakeRole(OutputSurface& surface) {
    if (surface.layerSurface != nullptr) zwlr_layer_surface_v1_destroy(surface.layerSurface);
    if (surface.toplevel != nullptr) xdg_toplevel_destroy(surface.toplevel);
    if (surface.xdgSurface != nullptr) xdg_surface_destroy(surface.xdgSurface);
    surface.layerSurface = nullptr;
    surface.toplevel = nullptr;
    surface.xdgSurface = nullptr;
    surface.configured = false;
}

void DestroyOutputSurface(OutputSurface& surface) {
    TakeRole(surface);
    if (surface.surface != nullptr) wl_surface_destroy(surface.surface);
    if (surface.blackBuffer != nullptr) wl_buffer_destroy(surface.blackBuffer);
    surface = OutputSurface{};
}

// Gone for a box, and back as they were made once it is answered. Neither an overlay surface
// nor a fullscreen window can be put below a box, and a compositor gives the keyboard back to
// the windows only when a surface that holds it goes (sway keeps it with an overlay surface
// even after it asks for none): the roles go with their content, the surfaces (and the GL's
// window on the show's) stay, and new roles map them again.
void PlaceSurfaces(bool aside) {
    WaylandConnection* connection = OpenedWaylandConnection();
    if (connection == nullptr) return;
    for (auto& [id, window] : windows) {
        if (!WindowLive(id)) continue;
        if (aside) {
            for (OutputSurface& surface : window.surfaces) {
                TakeRole(surface);
                wl_surface_attach(surface.surface, nullptr, 0, 0);
                wl_surface_commit(surface.surface);
            }
        } else {
            GiveRoles(*connection, window);
            ShowBlack(window);
        }
    }
    wl_display_roundtrip(connection->display);
    if (!aside) RefreshPointerFocus(*connection);
}

}  // namespace

WaylandWindow* FindLiveWaylandWindow(WindowId window) {
    auto found = windows.find(window);
    return found != windows.end() && WindowLive(window) ? &found->second : nullptr;
}

WindowId WindowOfSurface(const wl_surface* surface) {
    if (surface == nullptr) return 0;
    for (const auto& [id, window] : windows) {
        for (const OutputSurface& made : window.surfaces) {
            if (made.surface == surface) return id;
        }
    }
    return 0;
}

bool SurfacesSteppedAside() {
    return steppedAside;
}

bool wayland::Available() {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    return name != nullptr && *name != '\0' && SaverWaylandConnection() != nullptr;
}

WindowId wayland::DesktopWindow() {
    return SaverWaylandConnection() != nullptr ? kDesktopWindow : 0;
}

WindowId wayland::CreateFullScreenWindow(const char* className, const char* title) {
    WaylandConnection* connection = SaverWaylandConnection();
    if (ClassProcedure(className) == nullptr || connection == nullptr) return 0;
    const WindowId id = ++lastWindow;
    WaylandWindow& window = windows[id];
    window.title = title;
    if (!MakeOutputSurfaces(*connection, window)) {
        for (OutputSurface& surface : window.surfaces) DestroyOutputSurface(surface);
        windows.erase(id);
        return 0;
    }
    AddWindow(id, className);
    SendWindowMessage(id, kWmCreate, 0, 0);
    return WindowLive(id) ? id : 0;
}

bool wayland::DestroySaverWindow(WindowId id) {
    WaylandWindow* window = FindLiveWaylandWindow(id);
    WaylandConnection* connection = OpenedWaylandConnection();
    if (window == nullptr || window->destroying || connection == nullptr) return false;
    window->destroying = true;
    SendWindowMessage(id, kWmDestroy, 0, 0);
    window = FindLiveWaylandWindow(id);
    if (window == nullptr) return true;
    MarkWindowDestroyed(id);
    DestroyWindowGl(*window);
    if (window->eglWindow != nullptr) wl_egl_window_destroy(window->eglWindow);
    window->eglWindow = nullptr;
    for (OutputSurface& surface : window->surfaces) DestroyOutputSurface(surface);
    wl_display_roundtrip(connection->display);
    return true;
}

bool wayland::GetWindowClientSize(WindowId id, int* width, int* height) {
    WaylandConnection* connection = SaverWaylandConnection();
    if (connection == nullptr) return false;
    if (id == kDesktopWindow) {
        *width = connection->outputs.front().width;
        *height = connection->outputs.front().height;
        return true;
    }
    WaylandWindow* window = FindLiveWaylandWindow(id);
    if (window == nullptr) return false;
    *width = window->surfaces.front().width;
    *height = window->surfaces.front().height;
    return true;
}

bool wayland::GetCursorPosition(int* x, int* y) {
    return SaverWaylandConnection() != nullptr && PointerTravel(x, y);
}

double wayland::DisplayRefreshRate() {
    WaylandConnection* connection = SaverWaylandConnection();
    if (connection == nullptr) return 0.0;
    return connection->outputs.front().refreshMilliHertz / 1000.0;
}

bool wayland::PumpWindowEvents(bool wait) {
    WaylandConnection* connection = OpenedWaylandConnection();
    return connection != nullptr && ReadWaylandEvents(connection->display, wait ? -1 : 0);
}

WindowId wayland::CreateChildWindow(const char*, const char*, WindowId, int, int) {
    return 0;
}

// Showing, raising and focusing are the compositor's, done when the surfaces were made: an
// overlay layer surface is above every window and holds the keyboard; a fullscreen toplevel
// is raised and focused where the compositor allows.
void wayland::ShowSaverWindow(WindowId) {}
void wayland::SetForegroundSaverWindow(WindowId) {}
void wayland::SetSaverWindowFocus(WindowId) {}
void wayland::BringSaverWindowToTop(WindowId) {}

// The pointer is hidden on every entry (wayland_input.cpp); an arrow would need a cursor theme
// of the client's own, and the full-screen saver never shows one.
void wayland::SetSaverWindowCursor(WindowId, PointerShape) {}

// Hiding the pointer is per surface on Wayland and done on entry: the count is only kept.
int wayland::ChangeCursorCount(bool show) {
    static int count = 0;
    return show ? ++count : --count;
}

// No client may learn which window has the keyboard.
WindowId wayland::ForegroundWindow() {
    return 0;
}

// A Wayland desktop has no screen-saver state for a client to set; and the saver takes no idle
// inhibitor, since a screen saver must never keep a session from locking.
bool wayland::SetScreenSaverRunning(bool) {
    return true;
}

void wayland::PrepareForMessageBox(const MessageBoxRequest& request) {
    if (!request.runGoesOn) {
        for (const auto& [id, window] : windows) {
            if (WindowLive(id)) SendWindowMessage(id, kWmActivate, kWaInactive, 0);
        }
        return;
    }
    steppedAside = true;
    PlaceSurfaces(true);
}

void wayland::FinishMessageBox(const MessageBoxRequest& request) {
    if (!request.runGoesOn) return;
    PlaceSurfaces(false);
    // The keyboard's leaving for the box and its coming back are read only now.
    steppedAside = false;
    for (const auto& [id, window] : windows) {
        if (WindowLive(id)) SendWindowMessage(id, kWmActivate, kWaActive, 0);
    }
}
