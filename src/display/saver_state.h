// The saver run's process-wide state: the window and its GL context, the sizes of the
// desktop and of the video mode, where the pointer stood when the window was shown, and the
// flags that end the run. All zero at process start.
#pragma once
#include <cstdint>

#include "base/run_flags.h"
#include "platform/saver_window.h"

extern WindowId saverWindow;
extern DrawingContext saverDC;
extern GlContext* saverContext;

// The given window's client size, taken at the first run of the process and kept.
extern std::int32_t desktopWidth;
extern std::int32_t desktopHeight;
// The video mode, which is also the size of the picture the show draws.
extern std::int32_t screenWidth;
extern std::int32_t screenHeight;
extern std::int32_t colorDepth;  // 32 or 16

struct CursorPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};
extern CursorPoint startCursor;

// Ends the main loop; raised by the window procedure only, never lowered.
extern std::uint8_t quitRequested;
// Raised when CloseSaverWindow starts, so that the messages its own tear-down causes do not
// start it again.
extern std::uint8_t saverWindowClosed;

// Pointer travel from startCursor, along either axis, that the saver still tolerates.
inline constexpr std::int32_t mouseThreshold = 50;
