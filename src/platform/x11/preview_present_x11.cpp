// The preview's present on X11 (see preview_present.h): a GLX pbuffer to draw into, a 24-bit
// pixmap that receives each read-back picture, and a Render composite that scales it into the
// window. No server grab, no GL on the window.
#include "platform/x11/preview_present.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <X11/extensions/Xrender.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/gl_functions.h"
#include "platform/x11/x_connection.h"

struct PreviewPresent {
    GLXPbuffer pbuffer = 0;
    int width = 0;
    int height = 0;
    Pixmap pixmap = 0;
    Picture picture = 0;
    GC gc = nullptr;
    std::vector<std::uint32_t> pixels;
};

namespace {

constexpr int kPixmapDepth = 24;
constexpr int kBitsPerPixel = 32;
constexpr unsigned long kRedMask = 0xFF0000;
constexpr unsigned long kGreenMask = 0x00FF00;
constexpr unsigned long kBlueMask = 0x0000FF;

bool HasRender(Display* display) {
    int event = 0, error = 0;
    return XRenderQueryExtension(display, &event, &error) != 0;
}

// Read-back rows in BGRA bytes are exactly a little-endian 32-bit pixel with red in 0xFF0000.
XImage PixelsAsImage(PreviewPresent& present) {
    XImage image{};
    image.width = present.width;
    image.height = present.height;
    image.format = ZPixmap;
    image.data = reinterpret_cast<char*>(present.pixels.data());
    image.byte_order = LSBFirst;
    image.bitmap_unit = kBitsPerPixel;
    image.bitmap_bit_order = LSBFirst;
    image.bitmap_pad = kBitsPerPixel;
    image.depth = kPixmapDepth;
    image.bytes_per_line = present.width * static_cast<int>(sizeof(std::uint32_t));
    image.bits_per_pixel = kBitsPerPixel;
    image.red_mask = kRedMask;
    image.green_mask = kGreenMask;
    image.blue_mask = kBlueMask;
    XInitImage(&image);
    return image;
}

// Without framebuffer objects (none loaded) the window's own buffer is the only one bound.
void BindReadFramebuffer(GLuint framebuffer) {
    if (glFunctions.BindFramebuffer != nullptr) {
        glFunctions.BindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    }
}

void ReadBackBuffer(PreviewPresent& present) {
    GLint readFramebuffer = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
    BindReadFramebuffer(0);
    glPushAttrib(GL_PIXEL_MODE_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, present.width, present.height, GL_BGRA, GL_UNSIGNED_BYTE,
                 present.pixels.data());
    glPopClientAttrib();
    glPopAttrib();
    BindReadFramebuffer(static_cast<GLuint>(readFramebuffer));
    // GL rows run bottom-up, X rows top-down.
    const auto rows = present.pixels.begin();
    const int width = present.width;
    for (int top = 0, bottom = present.height - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(rows + top * width, rows + (top + 1) * width, rows + bottom * width);
    }
}

// Render's transform maps window points to picture points.
void ScalePicture(Display* display, const PreviewPresent& present, int windowWidth,
                  int windowHeight) {
    XTransform transform{};
    transform.matrix[0][0] = XDoubleToFixed(static_cast<double>(present.width) / windowWidth);
    transform.matrix[1][1] = XDoubleToFixed(static_cast<double>(present.height) / windowHeight);
    transform.matrix[2][2] = XDoubleToFixed(1.0);
    XRenderSetPictureTransform(display, present.picture, &transform);
    XRenderSetPictureFilter(display, present.picture, FilterBilinear, nullptr, 0);
}

bool MakePixmap(Display* display, PreviewPresent& present) {
    if (!HasRender(display)) return false;
    const XRenderPictFormat* format = XRenderFindStandardFormat(display, PictStandardRGB24);
    if (format == nullptr) return false;
    XErrorTrap trap(display);
    const Window root = DefaultRootWindow(display);
    present.pixmap = XCreatePixmap(display, root, static_cast<unsigned>(present.width),
                                   static_cast<unsigned>(present.height), kPixmapDepth);
    present.gc = XCreateGC(display, present.pixmap, 0, nullptr);
    present.picture = XRenderCreatePicture(display, present.pixmap, format, 0, nullptr);
    return trap.Passed();
}

}  // namespace

void PreviewDrawingSize(Display* display, GLXFBConfig config, int windowWidth, int windowHeight,
                        int* width, int* height) {
    int pbufferWidth = 0, pbufferHeight = 0;
    glXGetFBConfigAttrib(display, config, GLX_MAX_PBUFFER_WIDTH, &pbufferWidth);
    glXGetFBConfigAttrib(display, config, GLX_MAX_PBUFFER_HEIGHT, &pbufferHeight);
    const int screen = DefaultScreen(display);
    // A driver that states no pbuffer limit leaves the screen's.
    const auto limit = [](int pbuffer, int screenSize) {
        return static_cast<double>(pbuffer > 0 ? std::min(pbuffer, screenSize) : screenSize);
    };
    const double limitWidth = limit(pbufferWidth, DisplayWidth(display, screen));
    const double limitHeight = limit(pbufferHeight, DisplayHeight(display, screen));
    windowWidth = std::max(windowWidth, 1);
    windowHeight = std::max(windowHeight, 1);
    const double scale = std::min({1.0, limitWidth / windowWidth, limitHeight / windowHeight});
    *width = std::max(1, static_cast<int>(windowWidth * scale));
    *height = std::max(1, static_cast<int>(windowHeight * scale));
}

PreviewPresent* CreatePreviewPresent(Display* display, GLXFBConfig config, int width, int height) {
    const int attributes[] = {GLX_PBUFFER_WIDTH, width, GLX_PBUFFER_HEIGHT, height, None};
    auto* present = new PreviewPresent;
    present->width = width;
    present->height = height;
    XErrorTrap trap(display);
    present->pbuffer = glXCreatePbuffer(display, config, attributes);
    if (!trap.Passed() || present->pbuffer == 0) {
        DestroyPreviewPresent(display, present);
        return nullptr;
    }
    if (MakePixmap(display, *present)) {
        present->pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    }
    return present;
}

GLXDrawable PreviewDrawable(const PreviewPresent* present) {
    return present->pbuffer;
}

bool PresentPreview(Display* display, PreviewPresent* present, Window window, Visual* visual,
                    int windowWidth, int windowHeight) {
    if (present->pixels.empty()) return false;
    const XRenderPictFormat* windowFormat = XRenderFindVisualFormat(display, visual);
    if (windowFormat == nullptr) return false;
    ReadBackBuffer(*present);
    XImage image = PixelsAsImage(*present);
    XErrorTrap trap(display);
    XPutImage(display, present->pixmap, present->gc, &image, 0, 0, 0, 0,
              static_cast<unsigned>(present->width), static_cast<unsigned>(present->height));
    ScalePicture(display, *present, windowWidth, windowHeight);
    const Picture target = XRenderCreatePicture(display, window, windowFormat, 0, nullptr);
    XRenderComposite(display, PictOpSrc, present->picture, None, target, 0, 0, 0, 0, 0, 0,
                     static_cast<unsigned>(windowWidth), static_cast<unsigned>(windowHeight));
    XRenderFreePicture(display, target);
    return trap.Passed();
}

void DestroyPreviewPresent(Display* display, PreviewPresent* present) {
    if (present == nullptr) return;
    XErrorTrap trap(display);
    if (present->picture != 0) XRenderFreePicture(display, present->picture);
    if (present->gc != nullptr) XFreeGC(display, present->gc);
    if (present->pixmap != 0) XFreePixmap(display, present->pixmap);
    if (present->pbuffer != 0) glXDestroyPbuffer(display, present->pbuffer);
    trap.Passed();
    delete present;
}
