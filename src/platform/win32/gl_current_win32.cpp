// The current GL context and its driver's entry points on Windows. wglGetProcAddress knows
// only what lies past OpenGL 1.1, and some drivers answer 1, 2, 3 or -1 instead of null for a
// name they lack; the 1.1 functions are opengl32's own exports.
#include <windows.h>

#include <cstdint>

#include "platform/gl_current.h"
#include "platform/gl_functions.h"
#include "platform/win32/win32_window_system.h"

namespace {

bool IsEntryPoint(PROC entry) {
    const auto value = reinterpret_cast<std::intptr_t>(entry);
    return value < -1 || value > 3;
}

}  // namespace

bool GlContextCurrent() {
    return wglGetCurrentContext() != nullptr;
}

void* GlProcAddress(const char* name) {
    PROC entry = wglGetProcAddress(name);
    if (!IsEntryPoint(entry)) entry = GetProcAddress(GetModuleHandleA("opengl32.dll"), name);
    return reinterpret_cast<void*>(entry);
}

// WGL serves the windows and the offscreen renderer alike.
bool win32::WindowGlContextCurrent() {
    return GlContextCurrent();
}

void* win32::WindowGlProcAddress(const char* name) {
    return GlProcAddress(name);
}
