// The window system's GL on X11: a window's GLX context and GLX's lookup of entry points.
#include <GL/glx.h>

#include "platform/windowing/window_gl.h"
#include "platform/x11/x11_window_system.h"

namespace x11 {

bool WindowGlContextCurrent() {
    return glXGetCurrentContext() != nullptr;
}

void* WindowGlProcAddress(const char* name) {
    return reinterpret_cast<void*>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

}  // namespace x11
