// The saver window on X11 with GLX.
//
// Each saver window is an outer X window, which takes the input and stands for the Win32
// window, and, once a pixel format is set, an inner "surface" window with the format's
// visual, which the GL draws into. The surface selects no input, so its events reach the
// outer window. Making the surface only when the format is known keeps the Win32 order of
// the saver run (window first, pixel format afterwards) although X fixes a window's visual
// when it is created.
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xrandr.h>
#include <X11/keysym.h>

#include <cstring>
#include <deque>
#include <map>
#include <string>

#include "platform/cursor.h"
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

constexpr long kInputEvents = KeyPressMask | ButtonPressMask | PointerMotionMask | FocusChangeMask |
                              StructureNotifyMask | EnterWindowMask;
constexpr unsigned kGrabbedPointerEvents = ButtonPressMask | PointerMotionMask | EnterWindowMask;
constexpr int kMinChannelBits16 = 5;
constexpr int kMinChannelBits32 = 8;
constexpr int kColorBits32 = 32;

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

struct WindowRecord {
    WindowProcedure procedure = nullptr;
    std::string className;
    bool topLevel = false;
    bool destroying = false;
    bool destroyed = false;
    Rect surfaceRect;
    Window surface = 0;
    Colormap colormap = 0;
    GLXFBConfig config = nullptr;
};

std::map<std::string, WindowProcedure> windowClasses;
std::map<WindowId, WindowRecord> windows;
std::deque<WindowMessage> messageQueue;

WindowRecord* FindLiveWindow(WindowId window) {
    auto found = windows.find(window);
    if (found == windows.end() || found->second.destroyed) return nullptr;
    return &found->second;
}

MessageData PointParam(int x, int y) {
    return static_cast<MessageData>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                                    static_cast<std::uint32_t>(x & 0xFFFF));
}

void PostMessage(WindowId window, std::uint32_t message, MessageParam wParam, MessageData lParam) {
    messageQueue.push_back({window, message, wParam, lParam});
}

MessageResult SendMessage(WindowId window, std::uint32_t message, MessageParam wParam,
                          MessageData lParam) {
    auto found = windows.find(window);
    if (found == windows.end()) return 0;
    return found->second.procedure(window, message, wParam, lParam);
}

// The primary monitor as XRandR names it; the first lit monitor when none is primary, and
// the whole screen without XRandR 1.3.
Rect PrimaryMonitorRect(Display* display) {
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    Rect whole{0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) ||
        !XRRQueryVersion(display, &major, &minor) || (major == 1 && minor < 3)) {
        return whole;
    }
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
    if (resources == nullptr) return whole;
    const RROutput primary = XRRGetOutputPrimary(display, root);
    Rect found;
    for (int pass = 0; pass < 2 && found.width == 0; ++pass) {
        for (int i = 0; i < resources->noutput && found.width == 0; ++i) {
            if (pass == 0 && resources->outputs[i] != primary) continue;
            XRROutputInfo* output = XRRGetOutputInfo(display, resources, resources->outputs[i]);
            if (output == nullptr) continue;
            if (output->crtc != 0) {
                XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, output->crtc);
                if (crtc != nullptr && crtc->width > 0 && crtc->height > 0) {
                    found = {crtc->x, crtc->y, static_cast<int>(crtc->width),
                             static_cast<int>(crtc->height)};
                }
                if (crtc != nullptr) XRRFreeCrtcInfo(crtc);
            }
            XRRFreeOutputInfo(output);
        }
    }
    XRRFreeScreenResources(resources);
    return found.width > 0 ? found : whole;
}

Atom AtomNamed(Display* display, const char* name) {
    return XInternAtom(display, name, False);
}

// Set even on an override-redirect window, which no window manager reads, so that tools and
// tests can find the saver by its title.
void SetTitle(Display* display, Window window, const char* title) {
    XStoreName(display, window, title);
    XChangeProperty(display, window, AtomNamed(display, "_NET_WM_NAME"),
                    AtomNamed(display, "UTF8_STRING"), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title),
                    static_cast<int>(std::strlen(title)));
    Atom deleteWindow = AtomNamed(display, "WM_DELETE_WINDOW");
    XSetWMProtocols(display, window, &deleteWindow, 1);
}

// Sends WM_CREATE and shows the window, as CreateWindowExA does for a WS_VISIBLE window.
WindowId FinishCreation(Display* display, Window window, WindowRecord record, const char* title) {
    SetTitle(display, window, title);
    const WindowId id = window;
    windows[id] = std::move(record);
    SendMessage(id, kWmCreate, 0, 0);
    if (FindLiveWindow(id) == nullptr) return 0;
    XMapRaised(display, window);
    XSync(display, False);
    return id;
}

WindowProcedure ClassProcedure(const char* className) {
    auto found = windowClasses.find(className);
    return found == windowClasses.end() ? nullptr : found->second;
}

Cursor BlankCursor(Display* display) {
    static Cursor blank = 0;
    if (blank == 0) {
        const char empty[1] = {0};
        Pixmap bitmap = XCreateBitmapFromData(display, DefaultRootWindow(display), empty, 1, 1);
        XColor black{};
        blank = XCreatePixmapCursor(display, bitmap, bitmap, &black, &black, 0, 0);
        XFreePixmap(display, bitmap);
    }
    return blank;
}

Cursor ArrowCursor(Display* display) {
    static Cursor arrow = 0;
    if (arrow == 0) arrow = XCreateFontCursor(display, XC_left_ptr);
    return arrow;
}

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
    for (int i = 0; i < count && index == 0; ++i) {
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

bool IsAltKey(KeySym key) {
    return key == XK_Alt_L || key == XK_Alt_R || key == XK_Meta_L || key == XK_Meta_R;
}

// Focus that moves inside our window, or pointer-root bookkeeping, is not a loss of focus.
bool LosesFocus(const XFocusChangeEvent& event) {
    const bool realMove = event.mode == NotifyNormal || event.mode == NotifyWhileGrabbed;
    return realMove && event.detail != NotifyInferior && event.detail != NotifyPointer &&
           event.detail != NotifyPointerRoot && event.detail != NotifyDetailNone;
}

void TranslateKey(WindowId window, XKeyEvent key) {
    const KeySym symbol = XLookupKeysym(&key, 0);
    const bool alt = (key.state & Mod1Mask) != 0 || IsAltKey(symbol);
    PostMessage(window, alt ? kWmSysKeyDown : kWmKeyDown, symbol, alt ? kKeyAltHeld : 0);
}

void TranslateButton(WindowId window, const XButtonEvent& button) {
    const MessageData point = PointParam(button.x, button.y);
    switch (button.button) {
        case Button1:
            PostMessage(window, kWmLButtonDown, 0, point);
            break;
        case Button2:
            PostMessage(window, kWmMButtonDown, 0, point);
            break;
        case Button3:
            PostMessage(window, kWmRButtonDown, 0, point);
            break;
        default:
            break;  // the wheel
    }
}

void TranslateEvent(Display* display, const XEvent& event) {
    if (event.type == DestroyNotify) {
        // Destroyed from outside (by its host, or with its parent): what Windows would say
        // with WM_DESTROY. Our own DestroySaverWindow has marked its window already.
        WindowRecord* record = FindLiveWindow(event.xdestroywindow.window);
        if (record == nullptr) return;
        record->destroyed = true;
        PostMessage(event.xdestroywindow.window, kWmDestroy, 0, 0);
        return;
    }
    const WindowId window = event.xany.window;
    if (FindLiveWindow(window) == nullptr) return;
    switch (event.type) {
        case KeyPress:
            TranslateKey(window, event.xkey);
            break;
        case ButtonPress:
            TranslateButton(window, event.xbutton);
            break;
        case MotionNotify:
            PostMessage(window, kWmMouseMove, 0, PointParam(event.xmotion.x, event.xmotion.y));
            break;
        case FocusOut:
            if (LosesFocus(event.xfocus)) PostMessage(window, kWmActivate, kWaInactive, 0);
            break;
        case EnterNotify:
            PostMessage(window, kWmSetCursor, window, 0);
            break;
        case ClientMessage:
            if (event.xclient.message_type == AtomNamed(display, "WM_PROTOCOLS") &&
                static_cast<Atom>(event.xclient.data.l[0]) ==
                    AtomNamed(display, "WM_DELETE_WINDOW")) {
                PostMessage(window, kWmSysCommand, kScClose, 0);
            }
            break;
        default:
            break;
    }
}

}  // namespace

bool RegisterSaverWindowClass(const char* className, WindowProcedure procedure) {
    if (className == nullptr || procedure == nullptr) return false;
    return windowClasses.emplace(className, procedure).second;
}

bool UnregisterSaverWindowClass(const char* className) {
    auto found = windowClasses.find(className);
    if (found == windowClasses.end()) return false;
    for (const auto& [id, record] : windows) {
        if (!record.destroyed && record.className == className) return false;
    }
    windowClasses.erase(found);
    return true;
}

WindowId CreateFullScreenWindow(const char* className, const char* title) {
    WindowProcedure procedure = ClassProcedure(className);
    Display* display = SaverDisplay();
    if (procedure == nullptr || display == nullptr) return 0;
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.event_mask = kInputEvents;
    XErrorTrap trap(display);
    const Window window =
        XCreateWindow(display, RootWindow(display, screen), 0, 0, DisplayWidth(display, screen),
                      DisplayHeight(display, screen), 0, CopyFromParent, InputOutput,
                      CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
    if (!trap.Passed()) return 0;
    WindowRecord record;
    record.procedure = procedure;
    record.className = className;
    record.topLevel = true;
    record.surfaceRect = PrimaryMonitorRect(display);
    return FinishCreation(display, window, std::move(record), title);
}

WindowId CreateChildWindow(const char* className, const char* title, WindowId parent, int width,
                           int height) {
    WindowProcedure procedure = ClassProcedure(className);
    Display* display = SaverDisplay();
    if (procedure == nullptr || display == nullptr || parent == 0) return 0;
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
    attributes.event_mask = kInputEvents;
    XErrorTrap trap(display);
    // A size of 0 is refused by X (BadValue) and caught here like a bad parent.
    const Window window =
        XCreateWindow(display, static_cast<Window>(parent), 0, 0, static_cast<unsigned>(width),
                      static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWBackPixel | CWEventMask, &attributes);
    if (!trap.Passed()) return 0;
    WindowRecord record;
    record.procedure = procedure;
    record.className = className;
    record.surfaceRect = {0, 0, width, height};
    return FinishCreation(display, window, std::move(record), title);
}

bool DestroySaverWindow(WindowId window) {
    WindowRecord* record = FindLiveWindow(window);
    Display* display = OpenedSaverDisplay();
    if (record == nullptr || record->destroying || display == nullptr) return false;
    record->destroying = true;
    SendMessage(window, kWmDestroy, 0, 0);
    record = FindLiveWindow(window);
    if (record == nullptr) return true;
    XErrorTrap trap(display);
    XDestroyWindow(display, static_cast<Window>(window));
    if (record->colormap != 0) XFreeColormap(display, record->colormap);
    record->destroyed = true;
    return trap.Passed();
}

bool GetWindowClientSize(WindowId window, int* width, int* height) {
    Display* display = SaverDisplay();
    if (display == nullptr || window == 0) return false;
    if (window == DefaultRootWindow(display)) {
        const Rect monitor = PrimaryMonitorRect(display);
        *width = monitor.width;
        *height = monitor.height;
        return true;
    }
    XWindowAttributes attributes{};
    XErrorTrap trap(display);
    const Status status = XGetWindowAttributes(display, static_cast<Window>(window), &attributes);
    if (!trap.Passed() || status == 0) return false;
    *width = attributes.width;
    *height = attributes.height;
    return true;
}

void ShowSaverWindow(WindowId window) {
    Display* display = OpenedSaverDisplay();
    if (display == nullptr || FindLiveWindow(window) == nullptr) return;
    XMapRaised(display, static_cast<Window>(window));
    XSync(display, False);
}

void SetForegroundSaverWindow(WindowId window) {
    Display* display = OpenedSaverDisplay();
    WindowRecord* record = FindLiveWindow(window);
    if (display == nullptr || record == nullptr || !record->topLevel) return;
    XRaiseWindow(display, static_cast<Window>(window));
    XGrabKeyboard(display, static_cast<Window>(window), False, GrabModeAsync, GrabModeAsync,
                  CurrentTime);
    XGrabPointer(display, static_cast<Window>(window), False, kGrabbedPointerEvents, GrabModeAsync,
                 GrabModeAsync, None, None, CurrentTime);
    XSync(display, False);
}

void SetSaverWindowFocus(WindowId window) {
    Display* display = OpenedSaverDisplay();
    WindowRecord* record = FindLiveWindow(window);
    if (display == nullptr || record == nullptr || !record->topLevel) return;
    XErrorTrap trap(display);
    XSetInputFocus(display, static_cast<Window>(window), RevertToParent, CurrentTime);
    trap.Passed();
}

void BringSaverWindowToTop(WindowId window) {
    Display* display = OpenedSaverDisplay();
    if (display == nullptr || FindLiveWindow(window) == nullptr) return;
    XRaiseWindow(display, static_cast<Window>(window));
    XFlush(display);
}

void SetSaverWindowCursor(WindowId window, PointerShape shape) {
    Display* display = OpenedSaverDisplay();
    if (display == nullptr || FindLiveWindow(window) == nullptr) return;
    const bool hidden = shape == PointerShape::Hidden || CursorHidden();
    XDefineCursor(display, static_cast<Window>(window),
                  hidden ? BlankCursor(display) : ArrowCursor(display));
    XFlush(display);
}

bool GetCursorPosition(int* x, int* y) {
    Display* display = SaverDisplay();
    if (display == nullptr) return false;
    Window root = 0, child = 0;
    int windowX = 0, windowY = 0;
    unsigned mask = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, x, y, &windowX, &windowY,
                  &mask);
    return true;
}

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
    if (!trap.Passed() || glx == nullptr) return nullptr;
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

bool PeekWindowMessage() {
    Display* display = OpenedSaverDisplay();
    while (display != nullptr && messageQueue.empty() && XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        TranslateEvent(display, event);
    }
    return !messageQueue.empty();
}

bool TakeWindowMessage(WindowMessage* message) {
    while (messageQueue.empty()) {
        Display* display = OpenedSaverDisplay();
        if (display == nullptr) return false;
        XEvent event;
        XNextEvent(display, &event);
        TranslateEvent(display, event);
    }
    *message = messageQueue.front();
    messageQueue.pop_front();
    return message->message != kWmQuit;
}

MessageResult DispatchWindowMessage(const WindowMessage& message) {
    auto found = windows.find(message.window);
    if (found == windows.end()) return 0;
    // A window that has gone hears only of its destruction.
    if (found->second.destroyed && message.message != kWmDestroy) return 0;
    return found->second.procedure(message.window, message.message, message.wParam, message.lParam);
}

MessageResult DefaultWindowProcedure(WindowId window, std::uint32_t message, MessageParam wParam,
                                     MessageData lParam) {
    if (message == kWmSysCommand && wParam == kScClose) {
        SendMessage(window, kWmClose, 0, 0);
    } else if (message == kWmClose) {
        DestroySaverWindow(window);
    } else if (message == kWmSysKeyDown && wParam == XK_F4 && (lParam & kKeyAltHeld) != 0) {
        PostMessage(window, kWmSysCommand, kScClose, 0);
    }
    return 0;
}

void PostQuitWindowMessage(int exitCode) {
    PostMessage(0, kWmQuit, static_cast<MessageParam>(exitCode), 0);
}
