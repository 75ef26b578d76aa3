// The video mode the saver run asks for, derived from `resolution` and `bpp`.
#pragma once
#include <cstdint>

struct ModeSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The size for `resolution`: its row of the table, or the desktop size for "Desktop
// Resolution", for 0 and always in preview, in which three cases `resolution` is set to 1017.
// A value outside the table keeps `current`.
ModeSize ModeSizeFromResolution(std::uint32_t& resolution, ModeSize desktop, ModeSize current,
                                bool preview);

// The two colour depths a video mode can have, in bits per pixel.
inline constexpr int kColorDepthHigh = 32;
inline constexpr int kColorDepthLow = 16;

// kColorDepthHigh when the low byte of `bpp` is not zero, else kColorDepthLow.
int ColorDepthFromBpp(std::uint32_t bpp);
