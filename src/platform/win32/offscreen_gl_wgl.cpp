// Offscreen GL on Windows: WGL has no context without a window, so the context is the GL
// probe's, on a hidden window of its own that is never shown; the renderer draws into a
// framebuffer object, as on every system, and never into that window.
#include <windows.h>

#include "platform/offscreen_gl.h"
#include "platform/saver_window.h"
#include "platform/win32/saver_window_records.h"

struct OffscreenGlContext {
    GlProbe* probe = nullptr;
};

OffscreenGlContext* CreateOffscreenGlContext() {
    GlProbe* probe = CreateGlProbe();
    return probe != nullptr ? new OffscreenGlContext{probe} : nullptr;
}

void DestroyOffscreenGlContext(OffscreenGlContext* offscreen) {
    if (offscreen == nullptr) return;
    DestroyGlProbe(offscreen->probe);
    delete offscreen;
}

// WGL drivers have no such setting to make.
void DrawOffscreenInCallingThread() {}

bool SetOffscreenGlContextCurrent(OffscreenGlContext* offscreen, bool current) {
    if (offscreen == nullptr) return false;
    return current ? wglMakeCurrent(offscreen->probe->context, offscreen->probe->glContext) != FALSE
                   : wglMakeCurrent(nullptr, nullptr) != FALSE;
}
