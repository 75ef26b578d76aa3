// Temporary: stand-ins until the frame driver and the debug report's settings dump land.
#include "show/frame_driver.h"

void LogSettingsDump();

__attribute__((weak)) void RenderShowFrame() {}
__attribute__((weak)) void LogSettingsDump() {}
