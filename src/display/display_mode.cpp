#include "display/display_mode.h"

#include "display/virtual_mode.h"

bool ChangeDisplayMode(int width, int height, int colorDepth) {
    if (width <= 0 || height <= 0) return false;
    // No window or context exists yet at this step, so the framebuffer is tried on a probe
    // context of the same GL; the real one is made once the window's context is current.
    // Without a GL at all only the size itself can be checked; the window then fails.
    GlProbe* probe = CreateGlProbe();
    if (probe == nullptr) return true;
    const bool made = EnterVirtualOrDirectMode(width, height, colorDepth);
    LeaveVirtualMode();
    DestroyGlProbe(probe);
    return made;
}

bool RestoreDisplayMode() {
    LeaveVirtualMode();
    return true;
}

bool EnterDisplayMode(int width, int height, int colorDepth) {
    return EnterVirtualOrDirectMode(width, height, colorDepth);
}

bool SwapDisplayBuffers(DrawingContext context) {
    int width = 0, height = 0;
    if (!DrawingContextValid(context) || !GetDrawingSize(context, &width, &height)) return false;
    PresentVirtualMode(width, height);
    return SwapSaverBuffers(context);
}
