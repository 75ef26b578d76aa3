// Image: a heap pixel buffer of width x height pixels, rows stored one after another with no
// gap (stride equals width), at 8 (grey), 24 (R, G, B) or 32 (R, G, B, A) bits per pixel.
//
// A new image has all numbers 0 and no buffer. Allocate is called only on an image without a
// buffer; Release frees the buffer but keeps the numbers. The destructor releases.
#pragma once
#include <memory>

class Image {
  public:
    Image() = default;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    virtual ~Image() { Release(); }
    virtual void Release() { pixels.reset(); }

    // False, doing nothing, when a number is not positive or the buffer cannot be had.
    bool Allocate(int width, int height, int bitsPerPixel);

    int GetBitsPerPixel() const { return bitsPerPixel; }
    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    unsigned char* GetPixels() const { return pixels.get(); }

  protected:
    void Adopt(std::unique_ptr<unsigned char[]> buffer, int width, int height, int bitsPerPixel);

    int bitsPerPixel = 0;
    int width = 0;
    int height = 0;
    int stride = 0;
    std::unique_ptr<unsigned char[]> pixels;
};
