// The primary monitor as XRandR names it, for the saver window's surface and the refresh rate:
// the CRTC of the primary output, or, when no output is primary or that one does not suit, of
// the first lit output that does. Without XRandR 1.3 there is none.
#pragma once
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <functional>

using CrtcSuits = std::function<bool(const XRRScreenResources&, const XRRCrtcInfo&)>;

// Hands suits each candidate's CRTC in that order until it answers true; false when none did.
bool FindPrimaryCrtc(Display* display, const CrtcSuits& suits);
