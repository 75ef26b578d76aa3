// The window system's own GL, for the backend of the offscreen context, which answers for its
// context and asks the window system about any other.
#pragma once

// Whether a context of the window system's is current on this thread.
bool WindowGlContextCurrent();
// The entry point named, looked up by the window system's GL binding.
void* WindowGlProcAddress(const char* name);
