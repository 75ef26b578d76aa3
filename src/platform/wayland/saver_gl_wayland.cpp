// The saver window's GL on Wayland: EGL on the compositor's display, pixel formats are EGL's
// window configurations numbered from 1, and setting one makes the show's surface an EGL window
// surface. The context is a compatibility-profile desktop GL, so the show's GL 1.x calls draw
// as they do on GLX.
//
// EGL's swap never waits for the compositor (interval 0): a compositor stops sending frame
// events to a surface it does not show (another workspace, an output powered off), and a swap
// waiting for one would stop the whole loop, messages included. Once a frame has gone unshown
// for a while, the swap waits itself, in short looks that let messages through, for it to be
// shown: nothing is drawn while nothing can be seen. The frame pacer holds the show to the
// output's refresh.
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <wayland-egl.h>

#include <vector>

#include "platform/egl/compatibility_context.h"
#include "platform/frame_clock.h"
#include "platform/saver_window.h"
#include "platform/stop_signal.h"
#include "platform/wayland/wayland_connection.h"
#include "platform/wayland/wayland_read.h"
#include "platform/wayland/wayland_window_system.h"
#include "platform/wayland/wayland_windows.h"
#include "platform/windowing/window_messages.h"

namespace {

// The seam's GlContext and GlProbe are opaque; each window system's are its own records.
struct EglContext {
    EGLContext context = EGL_NO_CONTEXT;
};

EglContext* Egl(GlContext* context) {
    return reinterpret_cast<EglContext*>(context);
}

constexpr int kColorBits32 = 32;

EGLDisplay SaverEglDisplay() {
    static EGLDisplay display = EGL_NO_DISPLAY;
    WaylandConnection* connection = OpenedWaylandConnection();
    if (display != EGL_NO_DISPLAY || connection == nullptr) return display;
    EGLDisplay made = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, connection->display, nullptr);
    if (made == EGL_NO_DISPLAY || !eglInitialize(made, nullptr, nullptr)) return EGL_NO_DISPLAY;
    display = made;
    return display;
}

std::vector<EGLConfig> AllConfigs(EGLDisplay display) {
    EGLint count = 0;
    eglGetConfigs(display, nullptr, 0, &count);
    std::vector<EGLConfig> configs(static_cast<std::size_t>(count));
    eglGetConfigs(display, configs.data(), count, &count);
    configs.resize(static_cast<std::size_t>(count));
    return configs;
}

EGLConfig ConfigAt(EGLDisplay display, int format) {
    const std::vector<EGLConfig> configs = AllConfigs(display);
    return format >= 1 && format <= static_cast<int>(configs.size())
               ? configs[static_cast<std::size_t>(format - 1)]
               : nullptr;
}

int IndexOfConfig(EGLDisplay display, EGLConfig config) {
    const std::vector<EGLConfig> configs = AllConfigs(display);
    for (std::size_t i = 0; i < configs.size(); ++i) {
        if (configs[i] == config) return static_cast<int>(i) + 1;
    }
    return 0;
}

}  // namespace

DrawingContext wayland::GetDrawingContext(WindowId window) {
    return FindLiveWaylandWindow(window) != nullptr ? window : 0;
}

bool wayland::ReleaseDrawingContext(WindowId window, DrawingContext context) {
    return window == context && FindLiveWaylandWindow(window) != nullptr;
}

int wayland::ChooseSaverPixelFormat(DrawingContext context, const PixelFormatRequest& request) {
    EGLDisplay display = SaverEglDisplay();
    if (display == EGL_NO_DISPLAY || FindLiveWaylandWindow(context) == nullptr) return 0;
    const EGLint channel = request.colorBits >= kColorBits32 ? 8 : 5;
    const EGLint attributes[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE,
                                 EGL_OPENGL_BIT,   EGL_RED_SIZE,   channel,
                                 EGL_GREEN_SIZE,   channel,        EGL_BLUE_SIZE,
                                 channel,          EGL_DEPTH_SIZE, request.depthBits,
                                 EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, attributes, &config, 1, &count) || count < 1) return 0;
    return IndexOfConfig(display, config);
}

bool wayland::SetSaverPixelFormat(DrawingContext context, int format) {
    EGLDisplay display = SaverEglDisplay();
    WaylandWindow* window = FindLiveWaylandWindow(context);
    if (display == EGL_NO_DISPLAY || window == nullptr || window->config != nullptr) return false;
    EGLConfig config = ConfigAt(display, format);
    if (config == nullptr) return false;
    OutputSurface& show = window->surfaces.front();
    window->eglWidth = BufferWidth(show);
    window->eglHeight = BufferHeight(show);
    window->eglWindow = wl_egl_window_create(show.surface, window->eglWidth, window->eglHeight);
    if (window->eglWindow == nullptr) return false;
    SetBufferGeometry(show);
    window->eglSurface =
        eglCreatePlatformWindowSurface(display, config, window->eglWindow, nullptr);
    if (window->eglSurface == EGL_NO_SURFACE) {
        wl_egl_window_destroy(window->eglWindow);
        window->eglWindow = nullptr;
        return false;
    }
    window->config = config;
    return true;
}

PixelFormatKind wayland::DescribeSaverPixelFormat(DrawingContext context, int format) {
    EGLDisplay display = SaverEglDisplay();
    if (display == EGL_NO_DISPLAY || FindLiveWaylandWindow(context) == nullptr) {
        return PixelFormatKind::Unknown;
    }
    if (ConfigAt(display, format) == nullptr || eglGetCurrentContext() == EGL_NO_CONTEXT) {
        return PixelFormatKind::Unknown;
    }
    return PixelFormatKindOfRenderer(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
}

GlContext* wayland::CreateGlContext(DrawingContext context) {
    EGLDisplay display = SaverEglDisplay();
    WaylandWindow* window = FindLiveWaylandWindow(context);
    if (display == EGL_NO_DISPLAY || window == nullptr || window->config == nullptr) {
        return nullptr;
    }
    EGLContext made = CreateCompatibilityContext(display, window->config);
    if (made == EGL_NO_CONTEXT) return nullptr;
    return reinterpret_cast<GlContext*>(new EglContext{made});
}

bool wayland::MakeGlContextCurrent(DrawingContext context, GlContext* glContext) {
    EGLDisplay display = SaverEglDisplay();
    WaylandWindow* window = FindLiveWaylandWindow(context);
    if (display == EGL_NO_DISPLAY || window == nullptr || glContext == nullptr ||
        window->eglSurface == EGL_NO_SURFACE) {
        return false;
    }
    if (!eglMakeCurrent(display, window->eglSurface, window->eglSurface, Egl(glContext)->context)) {
        return false;
    }
    eglSwapInterval(display, 0);
    return true;
}

bool wayland::DeleteGlContext(GlContext* glContext) {
    EGLDisplay display = SaverEglDisplay();
    if (display == EGL_NO_DISPLAY || glContext == nullptr) return false;
    EglContext* egl = Egl(glContext);
    if (eglGetCurrentContext() == egl->context) {
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    const bool deleted = eglDestroyContext(display, egl->context) == EGL_TRUE;
    delete egl;
    return deleted;
}

namespace {

// A frame not shown after this time means nothing of the show can be seen; the compositor
// shows a seen surface's frames within a refresh or two. Waiting for every frame instead would
// put the loop's own pacing out of step with the compositor's and lose frames.
constexpr long long kUnseenAfterMs = 250;
// How long one look for the callback waits before the loop's own business (a keyboard's
// grace, the stop signal) is looked at again.
constexpr int kUnseenLookMs = 250;

// A show whose first frame is not shown within this time was started where nobody could see
// it: behind a lock, say. It ends when it is first shown, as if the user had switched away,
// rather than greet the user who has just unlocked.
constexpr long long kStartedUnseenMs = 3000;

void NoteFrameShown(void* data, wl_callback* callback, uint32_t) {
    wl_callback_destroy(callback);
    auto* show = static_cast<OutputSurface*>(data);
    show->frameShown = nullptr;
    if (show->firstFrameMs < 0) return;
    const bool startedUnseen = MonotonicMilliseconds() - show->firstFrameMs > kStartedUnseenMs;
    show->firstFrameMs = -1;
    const WindowId window = WindowOfSurface(show->surface);
    if (startedUnseen && window != 0) PostWindowMessage(window, kWmActivate, kWaInactive, 0);
}

const wl_callback_listener kFrameShownListener = {NoteFrameShown};

// A compositor sends a frame's callback when it shows the frame, and stops while nothing of
// the surface can be seen (its output powered off, a lock or another surface over it): once a
// frame has waited too long, a new one would be drawn for nobody. The wait ends at the
// callback, at a message for the loop (input ends the saver as usual) and at a lost
// connection, and the show's timeline, counted in frames, goes on from where it was.
void WaitWhileUnseen(WaylandConnection& connection, OutputSurface& show) {
    if (show.frameShown == nullptr || MonotonicMilliseconds() - show.frameAskedMs < kUnseenAfterMs)
        return;
    while (show.frameShown != nullptr && !StopSignalled()) {
        if (window_messages::PeekWindowMessage()) return;
        if (!ReadWaylandEvents(connection.display, kUnseenLookMs)) return;
    }
}

}  // namespace

void ForgetFrameShown(OutputSurface& surface) {
    if (surface.frameShown == nullptr) return;
    wl_callback_destroy(surface.frameShown);
    surface.frameShown = nullptr;
}

// A surface waiting for the configure of a new role (the show moved to another output) must
// not be given a buffer: the frame is drawn and dropped.
bool wayland::SwapSaverBuffers(DrawingContext context) {
    EGLDisplay display = SaverEglDisplay();
    WaylandWindow* window = FindLiveWaylandWindow(context);
    WaylandConnection* connection = OpenedWaylandConnection();
    if (display == EGL_NO_DISPLAY || window == nullptr || window->eglSurface == EGL_NO_SURFACE ||
        connection == nullptr) {
        return false;
    }
    OutputSurface& show = window->surfaces.front();
    if (!show.configured) return true;
    WaitWhileUnseen(*connection, show);
    if (show.frameShown == nullptr) {
        show.frameShown = wl_surface_frame(show.surface);
        wl_callback_add_listener(show.frameShown, &kFrameShownListener, &show);
        show.frameAskedMs = MonotonicMilliseconds();
    }
    if (show.firstFrameMs == 0) show.firstFrameMs = MonotonicMilliseconds();
    return eglSwapBuffers(display, window->eglSurface) == EGL_TRUE;
}

// The EGL window's size, which the show's surface's follows before each frame.
bool wayland::GetDrawingSize(DrawingContext context, int* width, int* height) {
    WaylandWindow* window = FindLiveWaylandWindow(context);
    if (window == nullptr || window->eglWindow == nullptr) return false;
    *width = window->eglWidth;
    *height = window->eglHeight;
    return true;
}

namespace {

// A configure or a new scale since the last frame: the next frame is drawn at the new size,
// so the output is covered again before it is shown.
void FollowShowSurface(WaylandWindow& window) {
    const OutputSurface& show = window.surfaces.front();
    if (window.eglWindow == nullptr || show.width <= 0) return;
    const int width = BufferWidth(show);
    const int height = BufferHeight(show);
    SetBufferGeometry(show);
    if (width == window.eglWidth && height == window.eglHeight) return;
    wl_egl_window_resize(window.eglWindow, width, height, 0, 0);
    window.eglWidth = width;
    window.eglHeight = height;
}

}  // namespace

// Asked before every frame: the events that have come are taken, and the show's size follows.
bool wayland::DrawingContextValid(DrawingContext context) {
    wayland::PumpWindowEvents(false);
    WaylandWindow* window = FindLiveWaylandWindow(context);
    if (window == nullptr) return false;
    FollowShowSurface(*window);
    return true;
}

// Destroys the window's EGL surface before its Wayland surface goes (saver_window_wayland.cpp).
void DestroyWindowGl(WaylandWindow& window) {
    EGLDisplay display = SaverEglDisplay();
    if (display == EGL_NO_DISPLAY || window.eglSurface == EGL_NO_SURFACE) return;
    if (eglGetCurrentSurface(EGL_DRAW) == window.eglSurface) {
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    eglDestroySurface(display, window.eglSurface);
    window.eglSurface = EGL_NO_SURFACE;
}

// A context current on no surface (EGL_KHR_surfaceless_context, which Mesa has).
GlProbe* wayland::CreateGlProbe() {
    if (SaverWaylandConnection() == nullptr) return nullptr;
    EGLDisplay display = SaverEglDisplay();
    if (display == EGL_NO_DISPLAY) return nullptr;
    EGLContext made = CreateCompatibilityContext(display, EGL_NO_CONFIG_KHR);
    if (made == EGL_NO_CONTEXT) return nullptr;
    if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, made)) {
        eglDestroyContext(display, made);
        return nullptr;
    }
    return reinterpret_cast<GlProbe*>(new EglContext{made});
}

void wayland::DestroyGlProbe(GlProbe* probe) {
    EGLDisplay display = SaverEglDisplay();
    if (display == EGL_NO_DISPLAY || probe == nullptr) return;
    auto* egl = reinterpret_cast<EglContext*>(probe);
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(display, egl->context);
    delete egl;
}

bool wayland::WindowGlContextCurrent() {
    return eglGetCurrentContext() != EGL_NO_CONTEXT;
}

void* wayland::WindowGlProcAddress(const char* name) {
    return reinterpret_cast<void*>(eglGetProcAddress(name));
}
