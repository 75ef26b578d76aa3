#include "display/saver_state.h"

WindowId saverWindow = 0;
DrawingContext saverDC = 0;
GlContext* saverContext = nullptr;
int saverPixelFormat = 0;
std::int32_t desktopWidth = 0;
std::int32_t desktopHeight = 0;
std::int32_t screenWidth = 0;
std::int32_t screenHeight = 0;
std::int32_t colorDepth = 0;
CursorPoint startCursor;
std::uint8_t quitRequested = 0;
std::uint8_t saverWindowClosed = 0;
