// The saver window's GL on GLX: pixel formats are the screen's GLX framebuffer
// configurations, numbered from 1; setting one makes the window's surface with its visual.
// Making the surface only then keeps the Win32 order of the saver run (window first, pixel
// format afterwards) although X fixes a window's visual when the window is created.
// A child window's context draws into a pbuffer instead, and its picture reaches the window
// through preview_present_x11.cpp, so no GL ever touches a window that its host can destroy.
//
// What drives a format is told by the renderer its context reports, unless GLX calls the
// format slow. Left out: accumulation, stencil and auxiliary buffers, which the request never
// asks for.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "platform/gl_functions.h"
#include "platform/saver_window.h"
#include "platform/x11/power_saving_x11.h"
#include "platform/x11/preview_present.h"
#include "platform/x11/saver_window_records.h"
#include "platform/x11/x_connection.h"

struct GlProbe {
    GLXContext context = nullptr;
    GLXPbuffer pbuffer = 0;
};

struct GlContext {
    GLXContext context = nullptr;
    bool swapIntervalSet = false;
    PreviewPresent* preview = nullptr;  // a child window's offscreen drawing, made when current
};

namespace x11 {

namespace {

constexpr int kMinChannelBits16 = 5;
constexpr int kMinChannelBits32 = 8;
constexpr int kColorBits32 = 32;

GlContext* currentContext = nullptr;

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
    return extensions != nullptr && ExtensionListed(extensions, name);
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
    const WindowRecord* record = FindLiveWindow(context);
    if (display == nullptr || record == nullptr) return 0;
    const int channelBits =
        request.colorBits >= kColorBits32 ? kMinChannelBits32 : kMinChannelBits16;
    const int drawables = record->topLevel ? GLX_WINDOW_BIT : GLX_WINDOW_BIT | GLX_PBUFFER_BIT;
    const int attributes[] = {GLX_X_RENDERABLE,
                              True,
                              GLX_DRAWABLE_TYPE,
                              drawables,
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
    Visual* const surfaceVisual = visual->visual;
    XFree(visual);
    if (!trap.Passed()) {
        XFreeColormap(display, colormap);
        return false;
    }
    record->surface = surface;
    record->visual = surfaceVisual;
    record->colormap = colormap;
    record->config = config;
    return true;
}

PixelFormatKind DescribeSaverPixelFormat(DrawingContext context, int format) {
    Display* display = OpenedSaverDisplay();
    if (display == nullptr || FindLiveWindow(context) == nullptr) return PixelFormatKind::Unknown;
    GLXFBConfig config = ConfigAt(display, format);
    if (config == nullptr || glXGetCurrentContext() == nullptr) return PixelFormatKind::Unknown;
    int caveat = GLX_NONE;
    glXGetFBConfigAttrib(display, config, GLX_CONFIG_CAVEAT, &caveat);
    if (caveat == GLX_SLOW_CONFIG) return PixelFormatKind::Software;
    return PixelFormatKindOfRenderer(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
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

namespace {

bool MakeCurrentOnPreview(Display* display, const WindowRecord& record, GlContext* glContext) {
    if (glContext->preview == nullptr) {
        int width = 0, height = 0;
        PreviewDrawingSize(display, record.config, record.surfaceRect.width,
                           record.surfaceRect.height, &width, &height);
        glContext->preview = CreatePreviewPresent(display, record.config, width, height);
        if (glContext->preview == nullptr) return false;
    }
    const GLXDrawable pbuffer = PreviewDrawable(glContext->preview);
    return glXMakeContextCurrent(display, pbuffer, pbuffer, glContext->context);
}

}  // namespace

bool MakeGlContextCurrent(DrawingContext context, GlContext* glContext) {
    Display* display = OpenedSaverDisplay();
    WindowRecord* record = FindLiveWindow(context);
    if (display == nullptr || record == nullptr || record->surface == 0 || glContext == nullptr) {
        return false;
    }
    XErrorTrap trap(display);
    const bool made = record->topLevel
                          ? glXMakeCurrent(display, record->surface, glContext->context)
                          : MakeCurrentOnPreview(display, *record, glContext);
    if (!made || !trap.Passed()) {
        // A window that went away meanwhile can leave the context bound to it on the client
        // side; nothing may draw there, so the thread is left with no context at all.
        glXMakeCurrent(display, None, nullptr);
        trap.Passed();
        currentContext = nullptr;
        return false;
    }
    currentContext = glContext;
    if (record->topLevel && !glContext->swapIntervalSet) {
        glContext->swapIntervalSet = true;
        RequestSwapInterval(display, record->surface);
    }
    return true;
}

bool DeleteGlContext(GlContext* glContext) {
    Display* display = OpenedSaverDisplay();
    if (display == nullptr || glContext == nullptr) return false;
    if (glXGetCurrentContext() == glContext->context) glXMakeCurrent(display, None, nullptr);
    if (currentContext == glContext) currentContext = nullptr;
    XErrorTrap trap(display);
    glXDestroyContext(display, glContext->context);
    DestroyPreviewPresent(display, glContext->preview);
    delete glContext;
    return trap.Passed();
}

bool SwapSaverBuffers(DrawingContext context) {
    Display* display = OpenedSaverDisplay();
    WindowRecord* record = FindLiveWindow(context);
    if (display == nullptr || record == nullptr || record->surface == 0) return false;
    if (record->topLevel) {
        WaitWhileMonitorsSleep(display);
        glXSwapBuffers(display, record->surface);
        return true;
    }
    if (currentContext == nullptr || currentContext->preview == nullptr ||
        glXGetCurrentContext() != currentContext->context) {
        return false;
    }
    return PresentPreview(display, currentContext->preview, record->surface, record->visual,
                          record->surfaceRect.width, record->surfaceRect.height);
}

bool GetDrawingSize(DrawingContext context, int* width, int* height) {
    WindowRecord* record = FindLiveWindow(context);
    Display* display = OpenedSaverDisplay();
    if (record == nullptr || display == nullptr) return false;
    *width = record->surfaceRect.width;
    *height = record->surfaceRect.height;
    if (!record->topLevel && record->config != nullptr) {
        PreviewDrawingSize(display, record->config, *width, *height, width, height);
    }
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
        x11::DestroyGlProbe(probe);
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

}  // namespace x11
