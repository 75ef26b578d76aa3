// The saver window's GL on GLX: pixel formats are the screen's GLX framebuffer
// configurations, numbered from 1; setting one makes the window's surface with its visual.
// Making the surface only then keeps the Win32 order of the saver run (window first, pixel
// format afterwards) although X fixes a window's visual when the window is created.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>

#include "platform/linux/saver_window_records.h"
#include "platform/linux/x_connection.h"
#include "platform/saver_window.h"

struct GlProbe {
    GLXContext context = nullptr;
    GLXPbuffer pbuffer = 0;
};

struct GlContext {
    GLXContext context = nullptr;
    bool swapIntervalSet = false;
};

namespace {

constexpr int kMinChannelBits16 = 5;
constexpr int kMinChannelBits32 = 8;
constexpr int kColorBits32 = 32;

GLXFBConfig ConfigAt(Display* display, int format) {
    int count = 0;
    GLXFBConfig* all = glXGetFBConfigs(display, DefaultScreen(display), &count);
    GLXFBConfig config =
        (all != nullptr && format >= 1 && format <= count) ? all[format - 1] : nullptr;
    if (all != nullptr) XFree(all);
    return config;
}

int IndexOfConfig(Display* display, GLXFBConfig config) {
    int count = 0;
    GLXFBConfig* all = glXGetFBConfigs(display, DefaultScreen(display), &count);
    int index = 0;
    for (int i = 0; all != nullptr && i < count && index == 0; ++i) {
        if (all[i] == config) index = i + 1;
    }
    if (all != nullptr) XFree(all);
    return index;
}

bool HasGlxExtension(Display* display, const char* name) {
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    if (extensions == nullptr) return false;
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(extensions, name); at != nullptr;
         at = std::strstr(at + length, name)) {
        const bool starts = at == extensions || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends) return true;
    }
    return false;
}

// One swap per refresh where the driver can wait for it; the show's timeline counts frames.
void RequestSwapInterval(Display* display, GLXDrawable drawable) {
    if (HasGlxExtension(display, "GLX_EXT_swap_control")) {
        auto swapInterval = reinterpret_cast<PFNGLXSWAPINTERVALEXTPROC>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
        if (swapInterval != nullptr) swapInterval(display, drawable, 1);
    } else if (HasGlxExtension(display, "GLX_MESA_swap_control")) {
        auto swapInterval = reinterpret_cast<PFNGLXSWAPINTERVALMESAPROC>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
        if (swapInterval != nullptr) swapInterval(1);
    }
}

}  // namespace

DrawingContext GetDrawingContext(WindowId window) {
    return FindLiveWindow(window) != nullptr ? window : 0;
}

bool ReleaseDrawingContext(WindowId window, DrawingContext context) {
    return context == window && FindLiveWindow(window) != nullptr;
}

int ChooseSaverPixelFormat(DrawingContext context, const PixelFormatRequest& request) {
    Display* display = OpenedSaverDisplay();
    if (display == nullptr || FindLiveWindow(context) == nullptr) return 0;
    const int channelBits =
        request.colorBits >= kColorBits32 ? kMinChannelBits32 : kMinChannelBits16;
    const int attributes[] = {GLX_X_RENDERABLE,
                              True,
                              GLX_DRAWABLE_TYPE,
                              GLX_WINDOW_BIT,
                              GLX_RENDER_TYPE,
                              GLX_RGBA_BIT,
                              GLX_X_VISUAL_TYPE,
                              GLX_TRUE_COLOR,
                              GLX_DOUBLEBUFFER,
                              True,
                              GLX_RED_SIZE,
                              channelBits,
                              GLX_GREEN_SIZE,
                              channelBits,
                              GLX_BLUE_SIZE,
                              channelBits,
                              GLX_DEPTH_SIZE,
                              request.depthBits,
                              None};
    int count = 0;
    GLXFBConfig* chosen = glXChooseFBConfig(display, DefaultScreen(display), attributes, &count);
    const int format = (chosen != nullptr && count > 0) ? IndexOfConfig(display, chosen[0]) : 0;
    if (chosen != nullptr) XFree(chosen);
    return format;
}

bool SetSaverPixelFormat(DrawingContext context, int format) {
    Display* display = OpenedSaverDisplay();
    WindowRecord* record = FindLiveWindow(context);
    if (display == nullptr || record == nullptr || record->surface != 0) return false;
    GLXFBConfig config = ConfigAt(display, format);
    if (config == nullptr) return false;
    XVisualInfo* visual = glXGetVisualFromFBConfig(display, config);
    if (visual == nullptr) return false;
    XErrorTrap trap(display);
    const Window window = static_cast<Window>(context);
    const Colormap colormap = XCreateColormap(display, window, visual->visual, AllocNone);
    XSetWindowAttributes attributes{};
    attributes.colormap = colormap;
    attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
    attributes.border_pixel = 0;
    const Rect& rect = record->surfaceRect;
    const Window surface =
        XCreateWindow(display, window, rect.x, rect.y, static_cast<unsigned>(rect.width),
                      static_cast<unsigned>(rect.height), 0, visual->depth, InputOutput,
                      visual->visual, CWColormap | CWBackPixel | CWBorderPixel, &attributes);
    XMapWindow(display, surface);
    XFree(visual);
    if (!trap.Passed()) {
        XFreeColormap(display, colormap);
        return false;
    }
    record->surface = surface;
    record->colormap = colormap;
    record->config = config;
    return true;
}

GlContext* CreateGlContext(DrawingContext context) {
    Display* display = OpenedSaverDisplay();
    WindowRecord* record = FindLiveWindow(context);
    if (display == nullptr || record == nullptr || record->config == nullptr) return nullptr;
    XErrorTrap trap(display);
    GLXContext glx = glXCreateNewContext(display, record->config, GLX_RGBA_TYPE, nullptr, True);
    // A direct context can be handed out before the server's refusal arrives.
    if (!trap.Passed() && glx != nullptr) {
        glXDestroyContext(display, glx);
        return nullptr;
    }
    if (glx == nullptr) return nullptr;
    return new GlContext{glx};
}

bool MakeGlContextCurrent(DrawingContext context, GlContext* glContext) {
    Display* display = OpenedSaverDisplay();
    WindowRecord* record = FindLiveWindow(context);
    if (display == nullptr || record == nullptr || record->surface == 0 || glContext == nullptr) {
        return false;
    }
    XErrorTrap trap(display);
    if (!glXMakeCurrent(display, record->surface, glContext->context) || !trap.Passed()) {
        return false;
    }
    if (!glContext->swapIntervalSet) {
        glContext->swapIntervalSet = true;
        RequestSwapInterval(display, record->surface);
    }
    return true;
}

bool DeleteGlContext(GlContext* glContext) {
    Display* display = OpenedSaverDisplay();
    if (display == nullptr || glContext == nullptr) return false;
    if (glXGetCurrentContext() == glContext->context) glXMakeCurrent(display, None, nullptr);
    XErrorTrap trap(display);
    glXDestroyContext(display, glContext->context);
    delete glContext;
    return trap.Passed();
}

bool SwapSaverBuffers(DrawingContext context) {
    Display* display = OpenedSaverDisplay();
    WindowRecord* record = FindLiveWindow(context);
    if (display == nullptr || record == nullptr || record->surface == 0) return false;
    glXSwapBuffers(display, record->surface);
    return true;
}

namespace {
bool serverHeld = false;
}

void BeginWindowPresent(DrawingContext context) {
    Display* display = OpenedSaverDisplay();
    WindowRecord* record = FindLiveWindow(context);
    if (display == nullptr || record == nullptr || record->topLevel || serverHeld) return;
    // The frame is drawn offscreen and can finish while the host still runs: only the
    // present itself needs the hold, and a software rasteriser would otherwise keep every
    // other client (the host among them) waiting for a whole frame.
    glFinish();
    XGrabServer(display);
    serverHeld = true;
}

void EndWindowPresent(DrawingContext) {
    Display* display = OpenedSaverDisplay();
    if (!serverHeld || display == nullptr) return;
    glFinish();
    XUngrabServer(display);
    XFlush(display);
    serverHeld = false;
}

bool GetDrawingSize(DrawingContext context, int* width, int* height) {
    WindowRecord* record = FindLiveWindow(context);
    if (record == nullptr) return false;
    *width = record->surfaceRect.width;
    *height = record->surfaceRect.height;
    return true;
}

GlProbe* CreateGlProbe() {
    Display* display = SaverDisplay();
    if (display == nullptr) return nullptr;
    const int attributes[] = {GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT, GLX_RENDER_TYPE, GLX_RGBA_BIT,
                              None};
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(display, DefaultScreen(display), attributes, &count);
    if (configs == nullptr) return nullptr;
    const GLXFBConfig config = count > 0 ? configs[0] : nullptr;
    XFree(configs);
    if (config == nullptr) return nullptr;
    const int size[] = {GLX_PBUFFER_WIDTH, 1, GLX_PBUFFER_HEIGHT, 1, None};
    XErrorTrap trap(display);
    auto* probe = new GlProbe;
    probe->pbuffer = glXCreatePbuffer(display, config, size);
    probe->context = glXCreateNewContext(display, config, GLX_RGBA_TYPE, nullptr, True);
    const bool current =
        probe->pbuffer != 0 && probe->context != nullptr &&
        glXMakeContextCurrent(display, probe->pbuffer, probe->pbuffer, probe->context);
    if (!trap.Passed() || !current) {
        DestroyGlProbe(probe);
        return nullptr;
    }
    return probe;
}

void DestroyGlProbe(GlProbe* probe) {
    Display* display = OpenedSaverDisplay();
    if (display == nullptr || probe == nullptr) return;
    XErrorTrap trap(display);
    glXMakeContextCurrent(display, None, None, nullptr);
    if (probe->context != nullptr) glXDestroyContext(display, probe->context);
    if (probe->pbuffer != 0) glXDestroyPbuffer(display, probe->pbuffer);
    trap.Passed();
    delete probe;
}
