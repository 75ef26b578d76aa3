// The walk to the primary monitor's CRTC (primary_output_xrandr.h).
#include "platform/x11/primary_output_xrandr.h"

namespace {

// An output that is off has no CRTC and never suits.
bool OutputSuits(Display* display, XRRScreenResources* resources, RROutput output,
                 const CrtcSuits& suits) {
    XRROutputInfo* info = XRRGetOutputInfo(display, resources, output);
    if (info == nullptr) return false;
    XRRCrtcInfo* crtc = info->crtc != 0 ? XRRGetCrtcInfo(display, resources, info->crtc) : nullptr;
    bool suited = false;
    if (crtc != nullptr) {
        suited = suits(*resources, *crtc);
        XRRFreeCrtcInfo(crtc);
    }
    XRRFreeOutputInfo(info);
    return suited;
}

}  // namespace

bool FindPrimaryCrtc(Display* display, const CrtcSuits& suits) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) ||
        !XRRQueryVersion(display, &major, &minor) || (major == 1 && minor < 3)) {
        return false;
    }
    const Window root = DefaultRootWindow(display);
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
    if (resources == nullptr) return false;
    const RROutput primary = XRRGetOutputPrimary(display, root);
    bool found = primary != 0 && OutputSuits(display, resources, primary, suits);
    for (int i = 0; i < resources->noutput && !found; ++i) {
        found = OutputSuits(display, resources, resources->outputs[i], suits);
    }
    XRRFreeScreenResources(resources);
    return found;
}
