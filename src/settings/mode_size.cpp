#include "settings/mode_size.h"

#include "settings/settings.h"

namespace {

struct FixedMode {
    std::uint32_t resolution;
    ModeSize size;
};

constexpr FixedMode kFixedModes[] = {
    {kResolution640, {640, 480}},   {kResolution800, {800, 600}},    {kResolution1024, {1024, 768}},
    {kResolution1152, {1152, 864}}, {kResolution1280, {1280, 1024}},
};

// A `resolution` of 0 means "Desktop Resolution" too.
constexpr std::uint32_t kResolutionUnset = 0;

}  // namespace

ModeSize ModeSizeFromResolution(std::uint32_t& resolution, ModeSize desktop, ModeSize current,
                                bool preview) {
    if (preview || resolution == kResolutionDesktop || resolution == kResolutionUnset) {
        resolution = kResolutionDesktop;
        return desktop;
    }
    for (const FixedMode& mode : kFixedModes) {
        if (mode.resolution == resolution) return mode.size;
    }
    return current;
}

int ColorDepthFromBpp(std::uint32_t bpp) {
    return LowByte(bpp) != 0 ? kColorDepthHigh : kColorDepthLow;
}
