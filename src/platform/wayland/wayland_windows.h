// The saver windows this process has made on Wayland, shared by the parts of the Wayland
// window layer: the windows and their surfaces (saver_window_wayland.cpp), their GL
// (saver_gl_wayland.cpp) and their input (wayland_input.cpp). Classes, procedures and messages
// are the shared machinery's (window_messages.h).
#pragma once
#include <EGL/egl.h>
#include <wayland-client.h>
#include <wayland-egl.h>

#include <list>
#include <string>

#include "platform/saver_window.h"
#include "platform/wayland/wayland_connection.h"

// One surface on one output: the show's, or a black one covering another output. Sizes are
// the compositor's logical units; buffers are drawn at the output's real pixels, through a
// viewport where the compositor offers one, else at the output's integer scale.
struct OutputSurface {
    wl_surface* surface = nullptr;
    WaylandOutput* output = nullptr;
    zwlr_layer_surface_v1* layerSurface = nullptr;
    xdg_surface* xdgSurface = nullptr;
    xdg_toplevel* toplevel = nullptr;
    wp_viewport* viewport = nullptr;
    wp_fractional_scale_v1* fractionalScale = nullptr;
    wl_buffer* blackBuffer = nullptr;  // what it shows until the GL draws, on the show's
    // The show's last frame, until the compositor says it was shown (saver_gl_wayland.cpp).
    wl_callback* frameShown = nullptr;
    long long frameAskedMs = 0;
    long long firstFrameMs = 0;  // when the show's first frame went out; -1 once it was shown
    int width = 0, height = 0;   // as last configured
    int scale = 1;               // the output's integer scale
    int scale120 = 0;            // the preferred fractional scale, in 120ths; 0: none
    bool configured = false;
};

// The size of a surface's buffers, in pixels.
int BufferWidth(const OutputSurface& surface);
int BufferHeight(const OutputSurface& surface);
// Tells the compositor how the surface's buffers map onto it: the viewport's size where there
// is one, else the integer buffer scale. Applied with the next commit.
void SetBufferGeometry(const OutputSurface& surface);

struct WaylandWindow {
    std::string title;                  // a toplevel's
    std::list<OutputSurface> surfaces;  // the show's first; listeners hold their addresses
    bool destroying = false;
    EGLConfig config = nullptr;
    wl_egl_window* eglWindow = nullptr;
    EGLSurface eglSurface = EGL_NO_SURFACE;
    int eglWidth = 0, eglHeight = 0;  // the EGL window's buffer size, in pixels
};

// Null for a window that is not ours or has been destroyed.
WaylandWindow* FindLiveWaylandWindow(WindowId window);
// The window one of whose surfaces this is; 0 for none.
WindowId WindowOfSurface(const wl_surface* surface);

// Where a saver surface lies in the desktop's layout (its output's place, in the layout's
// units) and how many pixels of its output one unit is; false for a surface that is not ours.
struct SurfacePlace {
    double x = 0, y = 0;
    double pixelsPerUnit = 1.0;
};
bool PlaceOfSurface(const wl_surface* surface, SurfacePlace* place);

// Whether the saver's surfaces have stepped aside for a message box, which stands above them or
// in their place: their input then is the box's business, and losing the keyboard to it is no
// deactivation.
bool SurfacesSteppedAside();

// Lets go of the window's EGL surface, before its Wayland surface goes (saver_gl_wayland.cpp).
void DestroyWindowGl(WaylandWindow& window);
// Stops waiting for the surface's last frame to be shown: a new role or size means the
// compositor wants a new frame whatever became of the last (saver_gl_wayland.cpp).
void ForgetFrameShown(OutputSurface& surface);

// The pointer's travel, in pixels, since the first pointer event (wayland_input.cpp).
bool PointerTravel(int* x, int* y);
// A keyboard that left the saver's surfaces counts as switching away only if none has come
// back within a grace (wayland_input.cpp): how long until the pending leave is due (-1: none
// is pending), and posting it once it is due.
int KeyboardLeaveWaitMs();
void TakeKeyboardLeave();
// The outputs have just changed (an output came, went or changed its mode or scale): a leave
// and entry of the keyboard about now is the compositor's reconfiguring.
void NoteOutputsChanged();
