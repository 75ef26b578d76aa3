// The refresh rate of the primary monitor from XRandR: the current mode's dot clock divided
// by the pixels of one whole frame (visible and blanking). A monitor without a lit mode, a
// server without XRandR 1.3 or a mode with no timings (virtual servers) gives 0: unknown.
#include <X11/extensions/Xrandr.h>

#include "platform/frame_clock.h"
#include "platform/x11/x_connection.h"

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

double OutputRate(Display* display, XRRScreenResources* resources, RROutput output) {
    double rate = 0.0;
    XRROutputInfo* info = XRRGetOutputInfo(display, resources, output);
    if (info == nullptr) return rate;
    XRRCrtcInfo* crtc = info->crtc != 0 ? XRRGetCrtcInfo(display, resources, info->crtc) : nullptr;
    if (crtc != nullptr) {
        rate = ModeRate(resources, crtc->mode);
        XRRFreeCrtcInfo(crtc);
    }
    XRRFreeOutputInfo(info);
    return rate;
}

}  // namespace

double DisplayRefreshRate() {
    Display* display = SaverDisplay();
    if (display == nullptr) return 0.0;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) ||
        !XRRQueryVersion(display, &major, &minor) || (major == 1 && minor < 3)) {
        return 0.0;
    }
    const Window root = DefaultRootWindow(display);
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
    if (resources == nullptr) return 0.0;
    const RROutput primary = XRRGetOutputPrimary(display, root);
    double rate = primary != 0 ? OutputRate(display, resources, primary) : 0.0;
    for (int i = 0; i < resources->noutput && rate <= 0.0; ++i) {
        rate = OutputRate(display, resources, resources->outputs[i]);
    }
    XRRFreeScreenResources(resources);
    return rate;
}
