#include <EGL/egl.h>
#include <GL/glx.h>

#include "platform/gl_current.h"

bool GlContextCurrent() {
    return glXGetCurrentContext() != nullptr || eglGetCurrentContext() != EGL_NO_CONTEXT;
}
