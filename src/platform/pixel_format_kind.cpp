// What drives a pixel format, told by the renderer string of its GL (saver_window.h).
#include <cctype>
#include <initializer_list>
#include <string>

#include "platform/saver_window.h"

namespace {

bool NamesAny(const std::string& renderer, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (renderer.find(name) != std::string::npos) return true;
    }
    return false;
}

}  // namespace

PixelFormatKind PixelFormatKindOfRenderer(const char* name) {
    if (name == nullptr) return PixelFormatKind::Unknown;
    std::string renderer = name;
    for (char& c : renderer) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (NamesAny(renderer, {"llvmpipe", "softpipe", "swrast", "software rasterizer"})) {
        return PixelFormatKind::Software;
    }
    if (NamesAny(renderer, {"virgl", "zink", "d3d12", "svga3d"})) {
        return PixelFormatKind::GenericAccelerated;
    }
    return PixelFormatKind::Driver;
}
