// An OpenGL rendering context that needs no window and no X server: EGL on Mesa's
// surfaceless platform, compatibility profile, so fixed-function GL 1.1 and GLU work as
// they do on screen. Draw into a framebuffer object; there is no default framebuffer.
#pragma once

struct OffscreenGlContext;

// For a program that draws frame after frame and keeps none of them (the renderer): asks a
// driver that draws on the processor to rasterise in the calling thread, where it holds one
// scene's work at most rather than a whole frame's, with the same pictures. Call it before
// the first context is made. The benchmarks leave it alone, so they time the driver as the
// saver has it.
void DrawOffscreenInCallingThread();
// Creates the context and makes it current; nullptr when EGL cannot give one.
OffscreenGlContext* CreateOffscreenGlContext();
void DestroyOffscreenGlContext(OffscreenGlContext* context);
// Makes the context current again, or releases it so that no context is current and GL
// calls do nothing (the benchmark's way to time the show's own work without the driver).
bool SetOffscreenGlContextCurrent(OffscreenGlContext* context, bool current);
