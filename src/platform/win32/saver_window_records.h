// What the Windows saver window's files share: the window a saver window's picture is drawn
// in (saver_window_win32.cpp keeps the records).
#pragma once
#include <windows.h>

// The full-screen window's drawing surface over the primary monitor; a child window is its own.
HWND DrawingSurface(HWND window);
