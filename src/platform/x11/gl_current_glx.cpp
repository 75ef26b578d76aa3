// The window system's GL on X11: a window's GLX context and GLX's lookup of entry points.
#include <GL/glx.h>

#include "platform/windowing/window_gl.h"

bool WindowGlContextCurrent() {
    return glXGetCurrentContext() != nullptr;
}

void* WindowGlProcAddress(const char* name) {
    return reinterpret_cast<void*>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}
