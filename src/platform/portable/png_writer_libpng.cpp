// PNG files through libpng's simplified write interface, which reports failures as results
// instead of long jumps and removes a file it could not finish.
#include <png.h>

#include "platform/png_writer.h"

bool WritePngFile(const std::string& path, int width, int height,
                  const std::vector<std::uint8_t>& rgb) {
    constexpr int kRgbBytes = 3;
    if (width <= 0 || height <= 0 ||
        rgb.size() != static_cast<std::size_t>(width) * height * kRgbBytes) {
        return false;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    const bool written = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(),
                                                 width * kRgbBytes, nullptr) != 0;
    png_image_free(&image);
    return written;
}
