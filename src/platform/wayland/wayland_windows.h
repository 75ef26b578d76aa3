// The saver windows this process has made on Wayland, shared by the parts of the Wayland
// window layer: the windows and their surfaces (saver_window_wayland.cpp), their GL
// (saver_gl_wayland.cpp) and their input (wayland_input.cpp). Classes, procedures and messages
// are the shared machinery's (window_messages.h).
#pragma once
#include <EGL/egl.h>
#include <wayland-client.h>
#include <wayland-egl.h>

#include <string>
#include <vector>

#include "platform/saver_window.h"
#include "platform/wayland/wayland_connection.h"

// One surface on one output: the show's, or a black one covering another output.
struct OutputSurface {
    wl_surface* surface = nullptr;
    zwlr_layer_surface_v1* layerSurface = nullptr;
    xdg_surface* xdgSurface = nullptr;
    xdg_toplevel* toplevel = nullptr;
    wl_buffer* blackBuffer = nullptr;  // what it shows until the GL draws, on the show's
    int width = 0, height = 0;         // as last configured
    bool configured = false;
};

struct WaylandWindow {
    std::string title;                    // a toplevel's
    std::vector<OutputSurface> surfaces;  // the show's first
    bool destroying = false;
    EGLConfig config = nullptr;
    wl_egl_window* eglWindow = nullptr;
    EGLSurface eglSurface = EGL_NO_SURFACE;
};

// Null for a window that is not ours or has been destroyed.
WaylandWindow* FindLiveWaylandWindow(WindowId window);
// The window one of whose surfaces this is; 0 for none.
WindowId WindowOfSurface(const wl_surface* surface);

// Whether the saver's surfaces have stepped aside for a message box: their input then is the
// box's business, and losing the keyboard to it is no deactivation.
bool SurfacesSteppedAside();

// Lets go of the window's EGL surface, before its Wayland surface goes (saver_gl_wayland.cpp).
void DestroyWindowGl(WaylandWindow& window);

// The pointer's travel in surface coordinates since the first pointer event (wayland_input.cpp).
bool PointerTravel(int* x, int* y);
