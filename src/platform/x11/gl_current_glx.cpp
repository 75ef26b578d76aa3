// Which GL context is current, and the entry points of its driver: eglGetProcAddress for the
// offscreen renderer's EGL context, glXGetProcAddress for a window's GLX one.
#include <EGL/egl.h>
#include <GL/glx.h>

#include "platform/gl_current.h"
#include "platform/gl_functions.h"

bool GlContextCurrent() {
    return glXGetCurrentContext() != nullptr || eglGetCurrentContext() != EGL_NO_CONTEXT;
}

// Each context's own lookup: the offscreen renderer's is EGL's, a window's GLX's.
void* GlProcAddress(const char* name) {
    if (eglGetCurrentContext() != EGL_NO_CONTEXT) {
        return reinterpret_cast<void*>(eglGetProcAddress(name));
    }
    return reinterpret_cast<void*>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}
