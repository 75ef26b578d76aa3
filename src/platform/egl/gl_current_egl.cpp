// Which GL context is current, and the entry points of its driver, where the offscreen
// renderer's context is EGL's: eglGetProcAddress for that context, the window system's lookup
// for a window's.
#include <EGL/egl.h>

#include "platform/gl_current.h"
#include "platform/gl_functions.h"
#include "platform/windowing/window_gl.h"

bool GlContextCurrent() {
    return eglGetCurrentContext() != EGL_NO_CONTEXT || WindowGlContextCurrent();
}

void* GlProcAddress(const char* name) {
    if (eglGetCurrentContext() != EGL_NO_CONTEXT) {
        return reinterpret_cast<void*>(eglGetProcAddress(name));
    }
    return WindowGlProcAddress(name);
}
