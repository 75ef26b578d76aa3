#include "assets/jpeg_image.h"

#include <new>

#include "platform/jpeg_decoder.h"

namespace {

constexpr int kGreyChannels = 1;
constexpr int kRgbChannels = 3;
constexpr int kBitsPerChannel = 8;

// Decodes the picture whose parameters were read into a fresh buffer; null on any failure.
std::unique_ptr<unsigned char[]> DecodePicture(JpegProperties& properties, bool forceGrey,
                                               int maxSide) {
    int width = properties.pictureWidth;
    int height = properties.pictureHeight;
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide) return nullptr;
    bool grey = forceGrey || properties.pictureChannels == kGreyChannels;
    properties.outputWidth = width;
    properties.outputHeight = height;
    properties.outputChannels = grey ? kGreyChannels : kRgbChannels;
    properties.outputColour = grey ? JpegColour::Grey : JpegColour::Rgb;
    std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                       static_cast<std::size_t>(properties.outputChannels);
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[size]);
    if (!buffer) return nullptr;
    properties.outputPixels = buffer.get();
    if (!JpegRead(properties, JpegReadMode::WholePicture)) return nullptr;
    return buffer;
}

}  // namespace

bool JpegImage::Load(const char* path, bool forceGrey, int maxSide) {
    JpegProperties properties;
    if (!JpegInitialise(properties)) return false;
    properties.inputPath = path;
    std::unique_ptr<unsigned char[]> buffer;
    if (JpegRead(properties, JpegReadMode::Parameters)) {
        buffer = DecodePicture(properties, forceGrey, maxSide);
    }
    JpegRelease(properties);
    if (!buffer) return false;
    Adopt(std::move(buffer), properties.outputWidth, properties.outputHeight,
          properties.outputChannels * kBitsPerChannel);
    return true;
}
