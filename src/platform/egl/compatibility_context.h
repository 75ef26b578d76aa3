// A desktop-GL context of the compatibility profile, as every EGL user of the project makes
// one: the show draws with GL 1.x calls, which a core profile would refuse. EGL_NO_CONTEXT
// when the driver has none (or `config` does not fit; EGL_NO_CONFIG_KHR for a context that is
// only ever current without a surface).
#pragma once
#include <EGL/egl.h>

EGLContext CreateCompatibilityContext(EGLDisplay display, EGLConfig config);
