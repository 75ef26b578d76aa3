// What the Windows saver window's files share: the window a saver window's picture is drawn
// in (saver_window_win32.cpp keeps the records), and the probe's hidden window with its
// current context (saver_gl_wgl.cpp makes it), which the offscreen renderer draws in too.
#pragma once
#include <windows.h>

namespace win32 {

// The full-screen window's drawing surface over the primary monitor; a child window is its own.
HWND DrawingSurface(HWND window);

}  // namespace win32

struct GlProbe {
    HWND window = nullptr;
    HDC context = nullptr;
    HGLRC glContext = nullptr;
};
