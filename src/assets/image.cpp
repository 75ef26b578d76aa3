#include "assets/image.h"

#include <cstddef>
#include <new>

namespace {

constexpr int kBitsPerByte = 8;

int BytesPerPixel(int bitsPerPixel) {
    return (bitsPerPixel + kBitsPerByte - 1) / kBitsPerByte;
}

// The byte count of a gap-free buffer; 0 when a number is not positive.
std::size_t BufferSize(int width, int height, int bytesPerPixel) {
    if (width <= 0 || height <= 0 || bytesPerPixel <= 0) return 0;
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
           static_cast<std::size_t>(bytesPerPixel);
}

}  // namespace

void Image::Adopt(std::unique_ptr<unsigned char[]> buffer, int newWidth, int newHeight,
                  int newBitsPerPixel) {
    pixels = std::move(buffer);
    stride = newWidth;
    width = newWidth;
    height = newHeight;
    bitsPerPixel = newBitsPerPixel;
}

bool Image::Allocate(int newWidth, int newHeight, int newBitsPerPixel) {
    std::size_t size = BufferSize(newWidth, newHeight, BytesPerPixel(newBitsPerPixel));
    if (size == 0) return false;
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[size]);
    if (!buffer) return false;
    Adopt(std::move(buffer), newWidth, newHeight, newBitsPerPixel);
    return true;
}
