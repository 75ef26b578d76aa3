// JpegImage: an Image filled by decoding a JPEG file.
//
// Load decodes into one grey byte per pixel (8 bits) when forceGrey is set or the file has a
// single channel, otherwise into R, G, B bytes (24 bits); CMYK and YCCK files come out as
// RGB. The first buffer row is the picture's bottom row. A picture wider or taller than
// maxSide is refused before any buffer is allocated, since a damaged header can claim sizes
// that would need gigabytes. Called only on an empty image; on failure it stays empty.
#pragma once
#include "assets/image.h"

class JpegImage : public Image {
  public:
    ~JpegImage() override = default;
    bool Load(const char* path, bool forceGrey, int maxSide);
};
