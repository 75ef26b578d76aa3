// An OpenGL rendering context that needs no window and no X server: EGL on Mesa's
// surfaceless platform, compatibility profile, so fixed-function GL 1.1 and GLU work as
// they do on screen. Draw into a framebuffer object; there is no default framebuffer.
#pragma once

struct OffscreenGlContext;

// Creates the context and makes it current; nullptr when EGL cannot give one.
OffscreenGlContext* CreateOffscreenGlContext();
void DestroyOffscreenGlContext(OffscreenGlContext* context);
// Makes the context current again, or releases it so that no context is current and GL
// calls do nothing (the benchmark's way to time the show's own work without the driver).
bool SetOffscreenGlContextCurrent(OffscreenGlContext* context, bool current);
