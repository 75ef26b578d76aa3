// The video mode of a run, made virtual: the monitor's own mode is never changed. A mode is
// "set" when a framebuffer of its size and depth can be made; the show then draws into that
// framebuffer and each swap presents it, scaled to fit, in the window. A GL without
// framebuffer objects takes any size: the show is drawn straight into the window, scaled to
// fit by its viewport.
#pragma once

#include "platform/saver_window.h"

// The full-screen mode change: false (refused) when the size cannot be made.
bool ChangeDisplayMode(int width, int height, int colorDepth);
// Back to the desktop's mode: releases the framebuffer. Needs the run's context current
// while one is held.
bool RestoreDisplayMode();
// Starts drawing into the mode's framebuffer; needs the run's context current. Without it
// the show draws straight into the window.
bool EnterDisplayMode(int width, int height, int colorDepth);
// Presents the frame in the window and swaps its buffers.
bool SwapDisplayBuffers(DrawingContext context);
