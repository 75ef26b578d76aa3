// The saver windows on Wayland: the full-screen window's surfaces, one on each output, the
// show's on the first and black ones on the others, and where a box goes over them.
//
// Realised: where the compositor offers layer-shell (wlroots desktops, KWin), each surface is a
// layer surface on the overlay layer, anchored to every edge, ignoring other surfaces'
// exclusive zones (-1), the show's taking the keyboard exclusively; elsewhere (GNOME, weston)
// each is a fullscreen toplevel on its output. The desktop window stands for the first
// output. A child window cannot be made: Wayland has no foreign windows to be a child of.
//
// The outputs are a living set: an output plugged in during the show gets its black surface,
// one unplugged loses its own, and when the show's output goes the show moves to the first
// that is left. Every configure is followed, at any time: black buffers are drawn again at the
// new size, and the show's GL follows before its next frame (saver_gl_wayland.cpp). Buffers
// have the output's real pixels: through wp_fractional_scale_v1 and a viewport where the
// compositor offers them, else the output's integer scale.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <map>

#include "platform/wayland/wayland_connection.h"
#include "platform/wayland/wayland_export.h"
#include "platform/wayland/wayland_read.h"
#include "platform/wayland/wayland_window_system.h"
#include "platform/wayland/wayland_windows.h"
#include "platform/windowing/window_messages.h"

namespace {

// Window ids: the desktop's, and the saver windows' counted from the next.
constexpr WindowId kDesktopWindow = 1;
WindowId lastWindow = kDesktopWindow;
std::map<WindowId, WaylandWindow> windows;
bool steppedAside = false;  // for a box, which stands above them or in their place
bool rolesAside = false;    // their roles taken for a box (PlaceSurfaces)

constexpr uint32_t kAllEdges =
    ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
    ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;
constexpr const char* kLayerNamespace = "screensaver";
// wp_fractional_scale_v1 counts scales in 120ths.
constexpr int kFractionalUnit = 120;

// Black, the size of the surface's buffers: Wayland draws no background of its own.
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

// Black at the surface's present size and scale, drawn at each configure. The show's surface
// shows it only until its GL draws: a box that the set-up shows comes before the first frame,
// and a new size covers the output at once, before the GL's next frame at that size.
void ShowBlack(OutputSurface& surface) {
    WaylandConnection* connection = OpenedWaylandConnection();
    if (connection == nullptr || !surface.configured || surface.width <= 0) return;
    if (surface.blackBuffer != nullptr) wl_buffer_destroy(surface.blackBuffer);
    surface.blackBuffer = BlackBuffer(connection->shm, BufferWidth(surface), BufferHeight(surface));
    if (surface.blackBuffer == nullptr) return;
    SetBufferGeometry(surface);
    wl_surface_attach(surface.surface, surface.blackBuffer, 0, 0);
    wl_surface_damage(surface.surface, 0, 0, surface.width, surface.height);
    wl_surface_commit(surface.surface);
}

void LayerConfigure(void* data, zwlr_layer_surface_v1* layerSurface, uint32_t serial,
                    uint32_t width, uint32_t height) {
    auto* surface = static_cast<OutputSurface*>(data);
    surface->width = static_cast<int>(width);
    surface->height = static_cast<int>(height);
    surface->configured = true;
    zwlr_layer_surface_v1_ack_configure(layerSurface, serial);
    ForgetFrameShown(*surface);
    ShowBlack(*surface);
}

void TakeRole(OutputSurface& surface);  // with the roles, below

// The compositor has taken the surface's place away (its output is going): the role goes, as
// the protocol asks; the output's removal then takes the surface, or moves the show.
void LayerClosed(void* data, zwlr_layer_surface_v1*) {
    auto* surface = static_cast<OutputSurface*>(data);
    TakeRole(*surface);
    wl_surface_attach(surface->surface, nullptr, 0, 0);
    wl_surface_commit(surface->surface);
}

const zwlr_layer_surface_v1_listener kLayerListener = {LayerConfigure, LayerClosed};

void XdgConfigure(void* data, xdg_surface* xdgSurface, uint32_t serial) {
    auto* surface = static_cast<OutputSurface*>(data);
    surface->configured = true;
    xdg_surface_ack_configure(xdgSurface, serial);
    ForgetFrameShown(*surface);
    ShowBlack(*surface);
}

const xdg_surface_listener kXdgSurfaceListener = {XdgConfigure};

// A size of 0 leaves the choice to the client: the output's, in logical units.
void ToplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
    auto* surface = static_cast<OutputSurface*>(data);
    if (width > 0 && height > 0) {
        surface->width = width;
        surface->height = height;
    } else if (surface->output != nullptr) {
        surface->width = surface->output->width / surface->output->scale;
        surface->height = surface->output->height / surface->output->scale;
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

void PreferredScale(void* data, wp_fractional_scale_v1*, uint32_t scale) {
    auto* surface = static_cast<OutputSurface*>(data);
    surface->scale120 = static_cast<int>(scale);
    ShowBlack(*surface);
}

const wp_fractional_scale_v1_listener kFractionalScaleListener = {PreferredScale};

void MakeLayerSurface(WaylandConnection& connection, OutputSurface& surface, bool takesKeyboard) {
    surface.layerSurface = zwlr_layer_shell_v1_get_layer_surface(
        connection.layerShell, surface.surface, surface.output->output,
        ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, kLayerNamespace);
    zwlr_layer_surface_v1_add_listener(surface.layerSurface, &kLayerListener, &surface);
    zwlr_layer_surface_v1_set_size(surface.layerSurface, 0, 0);
    zwlr_layer_surface_v1_set_anchor(surface.layerSurface, kAllEdges);
    zwlr_layer_surface_v1_set_exclusive_zone(surface.layerSurface, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        surface.layerSurface, takesKeyboard ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE
                                            : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
}

void MakeToplevel(WaylandConnection& connection, OutputSurface& surface, const char* title) {
    surface.xdgSurface = xdg_wm_base_get_xdg_surface(connection.wmBase, surface.surface);
    xdg_surface_add_listener(surface.xdgSurface, &kXdgSurfaceListener, &surface);
    surface.toplevel = xdg_surface_get_toplevel(surface.xdgSurface);
    xdg_toplevel_add_listener(surface.toplevel, &kToplevelListener, &surface);
    xdg_toplevel_set_title(surface.toplevel, title);
    xdg_toplevel_set_app_id(surface.toplevel, "vostrel");
    xdg_toplevel_set_fullscreen(surface.toplevel, surface.output->output);
}

// Gives the surface its role on its output, as the compositor offers: a layer surface, else a
// fullscreen toplevel, committed without a buffer as a new role must be; the configure that
// answers draws it.
void GiveRole(WaylandConnection& connection, const WaylandWindow& window, OutputSurface& surface) {
    if (connection.layerShell != nullptr) {
        MakeLayerSurface(connection, surface, &surface == &window.surfaces.front());
    } else {
        MakeToplevel(connection, surface, window.title.c_str());
    }
    wl_surface_attach(surface.surface, nullptr, 0, 0);
    wl_surface_commit(surface.surface);
}

void GiveRoles(WaylandConnection& connection, WaylandWindow& window) {
    for (OutputSurface& surface : window.surfaces) GiveRole(connection, window, surface);
}

// A new surface on the output, with what it needs to draw at the output's real pixels.
OutputSurface& AddSurface(WaylandConnection& connection, WaylandWindow& window,
                          WaylandOutput& output) {
    OutputSurface& surface = window.surfaces.emplace_back();
    surface.output = &output;
    surface.scale = output.scale;
    surface.width = output.width / output.scale;
    surface.height = output.height / output.scale;
    surface.surface = wl_compositor_create_surface(connection.compositor);
    if (connection.viewporter != nullptr) {
        surface.viewport = wp_viewporter_get_viewport(connection.viewporter, surface.surface);
    }
    if (connection.fractionalScale != nullptr && surface.viewport != nullptr) {
        surface.fractionalScale = wp_fractional_scale_manager_v1_get_fractional_scale(
            connection.fractionalScale, surface.surface);
        wp_fractional_scale_v1_add_listener(surface.fractionalScale, &kFractionalScaleListener,
                                            &surface);
    }
    return surface;
}

// Made and configured, black until the GL draws: the show's on the first output, a black one
// on each other.
bool MakeOutputSurfaces(WaylandConnection& connection, WaylandWindow& window) {
    WaylandOutput* first = FirstOutput(connection);
    if (first == nullptr) return false;
    AddSurface(connection, window, *first);
    for (WaylandOutput& output : connection.outputs) {
        if (&output != first && output.announced && !output.gone) {
            AddSurface(connection, window, output);
        }
    }
    GiveRoles(connection, window);
    wl_display_roundtrip(connection.display);
    wl_display_roundtrip(connection.display);
    RefreshPointerFocus(connection);
    const OutputSurface& show = window.surfaces.front();
    return show.configured && show.width > 0;
}

// The role objects alone; the surface and what it shows stay.
void TakeRole(OutputSurface& surface) {
    ForgetFrameShown(surface);
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
    if (surface.fractionalScale != nullptr) wp_fractional_scale_v1_destroy(surface.fractionalScale);
    if (surface.viewport != nullptr) wp_viewport_destroy(surface.viewport);
    if (surface.surface != nullptr) wl_surface_destroy(surface.surface);
    if (surface.blackBuffer != nullptr) wl_buffer_destroy(surface.blackBuffer);
    surface = OutputSurface{};
}

// The show's output has gone: the show takes the place of the black surface on the first
// output left, keeping its surface and its GL, which follows the new size before it draws.
void MoveShow(WaylandConnection& connection, WaylandWindow& window) {
    OutputSurface& show = window.surfaces.front();
    TakeRole(show);
    show.output = FirstOutput(connection);
    if (show.output == nullptr) return;
    for (auto surface = std::next(window.surfaces.begin()); surface != window.surfaces.end();
         ++surface) {
        if (surface->output != show.output) continue;
        DestroyOutputSurface(*surface);
        window.surfaces.erase(surface);
        break;
    }
    show.scale = show.output->scale;
    GiveRole(connection, window, show);
}

// The window's surfaces made to match the outputs as they are now.
void CoverOutputs(WaylandConnection& connection, WaylandWindow& window) {
    if (window.surfaces.front().output == nullptr || window.surfaces.front().output->gone) {
        MoveShow(connection, window);
    }
    for (auto surface = std::next(window.surfaces.begin()); surface != window.surfaces.end();) {
        if (surface->output->gone) {
            DestroyOutputSurface(*surface);
            surface = window.surfaces.erase(surface);
        } else {
            ++surface;
        }
    }
    for (WaylandOutput& output : connection.outputs) {
        if (!output.announced || output.gone) continue;
        bool covered = false;
        for (OutputSurface& surface : window.surfaces) {
            if (surface.output != &output) continue;
            covered = true;
            if (surface.scale != output.scale) {
                surface.scale = output.scale;
                ShowBlack(surface);
            }
        }
        if (!covered && !rolesAside) {
            GiveRole(connection, window, AddSurface(connection, window, output));
        }
    }
}

// Gone for a box, and back as they were made once it is answered. Neither an overlay surface
// nor a fullscreen window can be put below a box, and a compositor gives the keyboard back to
// the windows only when a surface that holds it goes (sway keeps it with an overlay surface
// even after it asks for none): the roles go with their content, the surfaces (and the GL's
// window on the show's) stay, and new roles map them again.
void PlaceSurfaces(bool aside) {
    WaylandConnection* connection = OpenedWaylandConnection();
    if (connection == nullptr || aside == rolesAside) return;
    rolesAside = aside;
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
        }
    }
    wl_display_roundtrip(connection->display);
    if (!aside) RefreshPointerFocus(*connection);
}

// The saver window a box would otherwise hide under: the first that is still up.
WaylandWindow* ShowUnderBox() {
    for (auto& [id, window] : windows) {
        if (WindowLive(id) && !window.surfaces.empty()) return &window;
    }
    return nullptr;
}

// Where the compositor offers layer-shell, the surfaces step aside for a box on the overlay
// layer that covers its output in black itself, once it is drawn, and come back before it goes:
// of two overlay surfaces sway 1.7 puts the newer below and sway 1.10 above, so the box cannot
// count on rising over the show's, but either covers the output while the other changes.
// Elsewhere the box is the child of the show's fullscreen toplevel, which the compositor stacks
// above its parent and focuses; where it exports no toplevel either, the surfaces step aside
// for a box among the windows before it comes.
BoxPlacement PlaceBoxOverShow(WaylandConnection& connection, WaylandWindow& show) {
    if (connection.layerShell != nullptr) {
        return {BoxStand::CoverOnOverlay,
                {},
                [] { PlaceSurfaces(true); },
                [] { PlaceSurfaces(false); }};
    }
    std::string handle = ExportToplevel(connection.display, show.surfaces.front().surface);
    if (!handle.empty()) return {BoxStand::ChildOfExported, std::move(handle), {}, {}};
    PlaceSurfaces(true);
    return {};
}

}  // namespace

// Pixels per logical unit. With a viewport the buffer need not be an integer multiple of the
// surface: the compositor's fractional scale where it tells one, else the output's own pixels
// over the surface that covers it (sway 1.7 scales by 1.5 but tells clients 2). Without one,
// the integer scale, which the compositor scales down where it is more than the output's.
double PixelsPerUnit(const OutputSurface& surface) {
    if (surface.viewport != nullptr && surface.scale120 > 0) {
        return static_cast<double>(surface.scale120) / kFractionalUnit;
    }
    const WaylandOutput* output = surface.output;
    const int longestSide = std::max(surface.width, surface.height);
    if (surface.viewport != nullptr && output != nullptr && output->width > 0 && longestSide > 0) {
        return static_cast<double>(std::max(output->width, output->height)) / longestSide;
    }
    return surface.scale;
}

int BufferWidth(const OutputSurface& surface) {
    return static_cast<int>(std::lround(surface.width * PixelsPerUnit(surface)));
}

int BufferHeight(const OutputSurface& surface) {
    return static_cast<int>(std::lround(surface.height * PixelsPerUnit(surface)));
}

void SetBufferGeometry(const OutputSurface& surface) {
    if (surface.viewport != nullptr) {
        wl_surface_set_buffer_scale(surface.surface, 1);
        wp_viewport_set_destination(surface.viewport, surface.width, surface.height);
    } else {
        wl_surface_set_buffer_scale(surface.surface, surface.scale);
    }
}

void FollowOutputs(WaylandConnection& connection) {
    NoteOutputsChanged();
    for (auto& [id, window] : windows) {
        if (WindowLive(id) && !window.destroying) CoverOutputs(connection, window);
    }
    wl_display_flush(connection.display);
}

bool PlaceOfSurface(const wl_surface* surface, SurfacePlace* place) {
    for (const auto& [id, window] : windows) {
        for (const OutputSurface& made : window.surfaces) {
            if (made.surface != surface || made.output == nullptr) continue;
            place->x = made.output->x;
            place->y = made.output->y;
            place->pixelsPerUnit = PixelsPerUnit(made);
            return true;
        }
    }
    return false;
}

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

// In pixels: the first output's mode, a window's buffers.
bool wayland::GetWindowClientSize(WindowId id, int* width, int* height) {
    WaylandConnection* connection = SaverWaylandConnection();
    if (connection == nullptr) return false;
    if (id == kDesktopWindow) {
        const WaylandOutput* first = FirstOutput(*connection);
        if (first == nullptr) return false;
        *width = first->width;
        *height = first->height;
        return true;
    }
    WaylandWindow* window = FindLiveWaylandWindow(id);
    if (window == nullptr) return false;
    *width = BufferWidth(window->surfaces.front());
    *height = BufferHeight(window->surfaces.front());
    return true;
}

bool wayland::GetCursorPosition(int* x, int* y) {
    return SaverWaylandConnection() != nullptr && PointerTravel(x, y);
}

double wayland::DisplayRefreshRate() {
    WaylandConnection* connection = SaverWaylandConnection();
    const WaylandOutput* first = connection != nullptr ? FirstOutput(*connection) : nullptr;
    return first != nullptr ? first->refreshMilliHertz / 1000.0 : 0.0;
}

// A wait ends in time for a keyboard leave that falls due.
bool wayland::PumpWindowEvents(bool wait) {
    WaylandConnection* connection = OpenedWaylandConnection();
    if (connection == nullptr) return false;
    const bool alive = ReadWaylandEvents(connection->display, wait ? KeyboardLeaveWaitMs() : 0);
    TakeKeyboardLeave();
    return alive;
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

// A box that ends the run finds the saver's windows gone with their deactivation; one the run
// survives, or one over a window that outlives its deactivation, goes above them.
BoxPlacement wayland::PrepareForMessageBox(const MessageBoxRequest& request) {
    if (!request.runGoesOn) {
        for (const auto& [id, window] : windows) {
            if (WindowLive(id)) SendWindowMessage(id, kWmActivate, kWaInactive, 0);
        }
    }
    WaylandConnection* connection = OpenedWaylandConnection();
    WaylandWindow* show = ShowUnderBox();
    if (connection == nullptr || show == nullptr) return {};
    steppedAside = true;
    return PlaceBoxOverShow(*connection, *show);
}

void wayland::FinishMessageBox(const MessageBoxRequest& request) {
    WaylandConnection* connection = OpenedWaylandConnection();
    if (!steppedAside || connection == nullptr) return;
    PlaceSurfaces(false);
    EndToplevelExport();
    // The keyboard's leaving for the box and its coming back are read only now.
    wl_display_roundtrip(connection->display);
    steppedAside = false;
    if (!request.runGoesOn) return;
    for (const auto& [id, window] : windows) {
        if (WindowLive(id)) SendWindowMessage(id, kWmActivate, kWaActive, 0);
    }
}
