// The refresh rate of the primary monitor from XRandR: the current mode's dot clock divided
// by the pixels of one whole frame (visible and blanking). A monitor without a lit mode, a
// server without XRandR 1.3 or a mode with no timings (virtual servers) gives 0: unknown.
#include "platform/frame_clock.h"
#include "platform/x11/primary_output_xrandr.h"
#include "platform/x11/x11_window_system.h"
#include "platform/x11/x_connection.h"

namespace x11 {

namespace {

double ModeRate(const XRRScreenResources* resources, RRMode id) {
    for (int i = 0; i < resources->nmode; ++i) {
        const XRRModeInfo& mode = resources->modes[i];
        if (mode.id != id) continue;
        const double pixelsPerFrame = static_cast<double>(mode.hTotal) * mode.vTotal;
        return pixelsPerFrame > 0.0 ? static_cast<double>(mode.dotClock) / pixelsPerFrame : 0.0;
    }
    return 0.0;
}

}  // namespace

double DisplayRefreshRate() {
    Display* display = SaverDisplay();
    if (display == nullptr) return 0.0;
    double rate = 0.0;
    FindPrimaryCrtc(display, [&rate](const XRRScreenResources& resources, const XRRCrtcInfo& crtc) {
        rate = ModeRate(&resources, crtc.mode);
        return rate > 0.0;
    });
    return rate;
}

}  // namespace x11
