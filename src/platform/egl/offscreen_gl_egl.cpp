// Offscreen GL through EGL on Mesa's surfaceless platform.
#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdlib>

#include "platform/egl/compatibility_context.h"
#include "platform/offscreen_gl.h"

struct OffscreenGlContext {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
};

namespace {

EGLDisplay SurfacelessDisplay() {
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) return EGL_NO_DISPLAY;
    return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

}  // namespace

OffscreenGlContext* CreateOffscreenGlContext() {
    EGLDisplay display = SurfacelessDisplay();
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) return nullptr;
    const EGLint configAttributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE,
                                       EGL_PBUFFER_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    EGLContext context = EGL_NO_CONTEXT;
    if (eglChooseConfig(display, configAttributes, &config, 1, &configCount) && configCount > 0) {
        context = CreateCompatibilityContext(display, config);
    }
    if (context == EGL_NO_CONTEXT ||
        !eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
        if (context != EGL_NO_CONTEXT) eglDestroyContext(display, context);
        eglTerminate(display);
        return nullptr;
    }
    return new OffscreenGlContext{display, context};
}

void DestroyOffscreenGlContext(OffscreenGlContext* offscreen) {
    if (offscreen == nullptr) return;
    eglMakeCurrent(offscreen->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(offscreen->display, offscreen->context);
    // The display is left initialised: EGL shares it across the process, and terminating it
    // unloads the GL driver, so a later context would load it again from scratch.
    delete offscreen;
}

// Mesa's software rasteriser (llvmpipe) rasterises on worker threads by default, and then
// keeps each binned scene's commands and data until it takes that scene up again, so a whole
// frame's binned work stays resident. The blast's particles each change the colour, and each
// change stores the full fragment state anew: over 100 MB a frame, against a few MB before.
// Rasterised in the drawing thread, a scene is drawn and freed at each flush, and a scene's
// size is capped. The driver reads this once, when EGL loads it. A value the user set is left
// alone; other drivers do not read it.
void DrawOffscreenInCallingThread() {
    setenv("LP_NUM_THREADS", "0", 0);
}

bool SetOffscreenGlContextCurrent(OffscreenGlContext* offscreen, bool current) {
    if (offscreen == nullptr) return false;
    return eglMakeCurrent(offscreen->display, EGL_NO_SURFACE, EGL_NO_SURFACE,
                          current ? offscreen->context : EGL_NO_CONTEXT) == EGL_TRUE;
}
