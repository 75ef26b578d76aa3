// Whether this thread has an OpenGL context current (a window's GLX context or the offscreen
// EGL one). Objects that own GL names check it before releasing them, so that destructors
// running at process exit, after the context is gone, make no GL call.
#pragma once

bool GlContextCurrent();
