#include "platform/egl/compatibility_context.h"

EGLContext CreateCompatibilityContext(EGLDisplay display, EGLConfig config) {
    if (!eglBindAPI(EGL_OPENGL_API)) return EGL_NO_CONTEXT;
    const EGLint attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                 EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    return eglCreateContext(display, config, EGL_NO_CONTEXT, attributes);
}
