// The saver window's GL on WGL: device contexts of the drawing surfaces, the system's pixel
// formats (numbered from 1 as DescribePixelFormat numbers them), rendering contexts, the swap
// and a probe context on a hidden window of its own.
//
// What drives a format is told by its own flags (PixelFormatKindFromFlags).
// Swaps wait for the refresh where the driver offers WGL_EXT_swap_control (interval 1, set
// once a context is first current).
// Left out: accumulation, stencil and auxiliary buffers, which the request never asks for.
#include <windows.h>

#include <GL/gl.h>

#include "platform/gl_functions.h"
#include "platform/saver_window.h"
#include "platform/win32/saver_window_records.h"
#include "platform/win32/win32_window_system.h"

struct GlContext {
    HGLRC context = nullptr;
    bool swapIntervalSet = false;
};

namespace win32 {

namespace {

constexpr const wchar_t* kProbeClass = L"VostrelGlProbe";
// Where the probe window lies: off every screen, and never shown.
constexpr int kProbeSize = 16;

using SwapIntervalFunction = BOOL(WINAPI*)(int);

static_assert(kPfdGenericFormat == PFD_GENERIC_FORMAT &&
              kPfdGenericAccelerated == PFD_GENERIC_ACCELERATED);

HDC Dc(DrawingContext context) {
    return reinterpret_cast<HDC>(context);
}

PIXELFORMATDESCRIPTOR RequestedFormat(const PixelFormatRequest& request) {
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = static_cast<BYTE>(request.colorBits);
    format.cDepthBits = static_cast<BYTE>(request.depthBits);
    format.iLayerType = PFD_MAIN_PLANE;
    return format;
}

void WaitForRefreshAtSwaps() {
    const auto setInterval =
        reinterpret_cast<SwapIntervalFunction>(GlProcAddress("wglSwapIntervalEXT"));
    if (setInterval != nullptr) setInterval(1);
}

bool RegisterProbeClass() {
    static const bool registered = [] {
        WNDCLASSW probeClass{};
        probeClass.style = CS_OWNDC;
        probeClass.lpfnWndProc = DefWindowProcW;
        probeClass.hInstance = GetModuleHandleW(nullptr);
        probeClass.lpszClassName = kProbeClass;
        return RegisterClassW(&probeClass) != 0;
    }();
    return registered;
}

}  // namespace

DrawingContext GetDrawingContext(WindowId window) {
    return reinterpret_cast<DrawingContext>(GetDC(DrawingSurface(reinterpret_cast<HWND>(window))));
}

bool ReleaseDrawingContext(WindowId window, DrawingContext context) {
    return ReleaseDC(DrawingSurface(reinterpret_cast<HWND>(window)), Dc(context)) != 0;
}

int ChooseSaverPixelFormat(DrawingContext context, const PixelFormatRequest& request) {
    const PIXELFORMATDESCRIPTOR format = RequestedFormat(request);
    return ChoosePixelFormat(Dc(context), &format);
}

bool SetSaverPixelFormat(DrawingContext context, int format) {
    PIXELFORMATDESCRIPTOR description{};
    if (DescribePixelFormat(Dc(context), format, sizeof description, &description) == 0) {
        return false;
    }
    return SetPixelFormat(Dc(context), format, &description) != FALSE;
}

PixelFormatKind DescribeSaverPixelFormat(DrawingContext context, int format) {
    PIXELFORMATDESCRIPTOR description{};
    if (DescribePixelFormat(Dc(context), format, sizeof description, &description) == 0) {
        return PixelFormatKind::Unknown;
    }
    return PixelFormatKindFromFlags(description.dwFlags);
}

GlContext* CreateGlContext(DrawingContext context) {
    HGLRC glContext = wglCreateContext(Dc(context));
    return glContext != nullptr ? new GlContext{glContext} : nullptr;
}

bool MakeGlContextCurrent(DrawingContext context, GlContext* glContext) {
    if (glContext == nullptr) return wglMakeCurrent(nullptr, nullptr) != FALSE;
    if (!wglMakeCurrent(Dc(context), glContext->context)) return false;
    if (!glContext->swapIntervalSet) {
        WaitForRefreshAtSwaps();
        glContext->swapIntervalSet = true;
    }
    return true;
}

bool DeleteGlContext(GlContext* glContext) {
    if (glContext == nullptr) return false;
    if (wglGetCurrentContext() == glContext->context) wglMakeCurrent(nullptr, nullptr);
    const bool deleted = wglDeleteContext(glContext->context) != FALSE;
    delete glContext;
    return deleted;
}

bool SwapSaverBuffers(DrawingContext context) {
    return DrawingContextValid(context) && SwapBuffers(Dc(context)) != FALSE;
}

bool GetDrawingSize(DrawingContext context, int* width, int* height) {
    RECT client{};
    HWND window = WindowFromDC(Dc(context));
    if (window == nullptr || !GetClientRect(window, &client)) return false;
    *width = client.right;
    *height = client.bottom;
    return true;
}

bool DrawingContextValid(DrawingContext context) {
    HWND window = WindowFromDC(Dc(context));
    return window != nullptr && IsWindow(window);
}

GlProbe* CreateGlProbe() {
    if (!RegisterProbeClass()) return nullptr;
    auto* probe = new GlProbe;
    probe->window =
        CreateWindowExW(0, kProbeClass, L"", WS_POPUP, -kProbeSize, -kProbeSize, kProbeSize,
                        kProbeSize, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    probe->context = probe->window != nullptr ? GetDC(probe->window) : nullptr;
    const auto context = reinterpret_cast<DrawingContext>(probe->context);
    const int format = probe->context != nullptr
                           ? win32::ChooseSaverPixelFormat(context, PixelFormatRequest{})
                           : 0;
    if (format != 0 && SetSaverPixelFormat(context, format)) {
        probe->glContext = wglCreateContext(probe->context);
    }
    if (probe->glContext == nullptr || !wglMakeCurrent(probe->context, probe->glContext)) {
        win32::DestroyGlProbe(probe);
        return nullptr;
    }
    return probe;
}

void DestroyGlProbe(GlProbe* probe) {
    if (probe == nullptr) return;
    if (probe->glContext != nullptr) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(probe->glContext);
    }
    if (probe->context != nullptr) ReleaseDC(probe->window, probe->context);
    if (probe->window != nullptr) DestroyWindow(probe->window);
    delete probe;
}

}  // namespace win32
