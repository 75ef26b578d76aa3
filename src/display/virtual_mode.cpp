// The virtual video mode: one framebuffer object with a colour and a depth renderbuffer.
// Because the show draws only into it, a frame's colour buffer still holds the previous
// frame (the blur overlay depends on that) no matter what the window system does to its own
// back buffer on a swap. A context without framebuffer objects draws straight into the window,
// its viewport on the picture's scaled place there.
#include "display/virtual_mode.h"

#include "display/letterbox.h"
#include "platform/gl_functions.h"
#include "settings/mode_size.h"

#include <algorithm>

namespace {

constexpr int kRgbBytes = 3;

struct VirtualMode {
    GLuint framebuffer = 0;
    GLuint colorBuffer = 0;
    GLuint depthBuffer = 0;
    int width = 0;
    int height = 0;
    // Drawing straight into a window of windowWidth x windowHeight (0 x 0 until known).
    bool direct = false;
    int windowWidth = 0;
    int windowHeight = 0;
};

VirtualMode mode;

bool SizeWithinLimits(int width, int height) {
    GLint renderbufferLimit = 0;
    GLint viewportLimit[2] = {0, 0};
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbufferLimit);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewportLimit);
    return width > 0 && height > 0 && width <= renderbufferLimit && height <= renderbufferLimit &&
           width <= viewportLimit[0] && height <= viewportLimit[1];
}

GLuint MakeRenderbuffer(GLenum format, int width, int height) {
    GLuint buffer = 0;
    glFunctions.GenRenderbuffers(1, &buffer);
    glFunctions.BindRenderbuffer(GL_RENDERBUFFER, buffer);
    glFunctions.RenderbufferStorage(GL_RENDERBUFFER, format, width, height);
    glFunctions.BindRenderbuffer(GL_RENDERBUFFER, 0);
    return buffer;
}

// A context first made current on a window has the window's size for its viewport, which is
// where the picture's place is first measured from; each presentation follows the window after.
bool EnterDirectMode(int width, int height) {
    if (width <= 0 || height <= 0) return false;
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    mode.width = width;
    mode.height = height;
    mode.direct = true;
    mode.windowWidth = viewport[2];
    mode.windowHeight = viewport[3];
    return true;
}

void FollowWindowSize(int windowWidth, int windowHeight) {
    if (windowWidth == mode.windowWidth && windowHeight == mode.windowHeight) return;
    mode.windowWidth = windowWidth;
    mode.windowHeight = windowHeight;
    SetPictureViewport(mode.width, mode.height);
}

}  // namespace

bool EnterVirtualOrDirectMode(int width, int height, int colorDepth) {
    LeaveVirtualMode();
    if (!LoadGlFunctions()) return EnterDirectMode(width, height);
    return EnterVirtualMode(width, height, colorDepth);
}

void SetPictureViewport(int width, int height) {
    if (!mode.direct || mode.windowWidth <= 0 || mode.windowHeight <= 0) {
        glViewport(0, 0, width, height);
        return;
    }
    const LetterboxRect fit = FitPicture(width, height, mode.windowWidth, mode.windowHeight);
    glViewport(fit.x0, fit.y0, fit.x1 - fit.x0, fit.y1 - fit.y0);
}

bool EnterVirtualMode(int width, int height, int colorDepth) {
    LeaveVirtualMode();
    // A context without framebuffer objects cannot hold the mode at all.
    if (!LoadGlFunctions() || !SizeWithinLimits(width, height)) return false;
    mode.width = width;
    mode.height = height;
    mode.colorBuffer =
        MakeRenderbuffer(colorDepth == kColorDepthLow ? GL_RGB565 : GL_RGB8, width, height);
    mode.depthBuffer = MakeRenderbuffer(GL_DEPTH_COMPONENT16, width, height);
    glFunctions.GenFramebuffers(1, &mode.framebuffer);
    glFunctions.BindFramebuffer(GL_FRAMEBUFFER, mode.framebuffer);
    glFunctions.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                        mode.colorBuffer);
    glFunctions.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                        mode.depthBuffer);
    if (glFunctions.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        LeaveVirtualMode();
        return false;
    }
    return true;
}

void LeaveVirtualMode() {
    if (mode.framebuffer != 0) {
        glFunctions.BindFramebuffer(GL_FRAMEBUFFER, 0);
        glFunctions.DeleteFramebuffers(1, &mode.framebuffer);
    }
    if (mode.colorBuffer != 0) glFunctions.DeleteRenderbuffers(1, &mode.colorBuffer);
    if (mode.depthBuffer != 0) glFunctions.DeleteRenderbuffers(1, &mode.depthBuffer);
    mode = VirtualMode{};
}

bool InVirtualMode() {
    return mode.framebuffer != 0;
}

void PresentVirtualMode(int windowWidth, int windowHeight) {
    if (windowWidth <= 0 || windowHeight <= 0) return;
    if (mode.direct) {
        FollowWindowSize(windowWidth, windowHeight);
        return;
    }
    if (!InVirtualMode()) return;
    const LetterboxRect fit = FitPicture(mode.width, mode.height, windowWidth, windowHeight);
    // The clear and the blit must not be clipped by whatever the show left enabled.
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glFunctions.BindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glFunctions.BindFramebuffer(GL_READ_FRAMEBUFFER, mode.framebuffer);
    glFunctions.BlitFramebuffer(0, 0, mode.width, mode.height, fit.x0, fit.y0, fit.x1, fit.y1,
                                GL_COLOR_BUFFER_BIT, GL_LINEAR);
    glPopAttrib();
    glFunctions.BindFramebuffer(GL_FRAMEBUFFER, mode.framebuffer);
}

std::vector<std::uint8_t> ReadVirtualModePixels() {
    if (!InVirtualMode()) return {};
    const std::size_t rowBytes = static_cast<std::size_t>(mode.width) * kRgbBytes;
    std::vector<std::uint8_t> pixels(rowBytes * mode.height);
    glFunctions.BindFramebuffer(GL_READ_FRAMEBUFFER, mode.framebuffer);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, mode.width, mode.height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glPopClientAttrib();
    // GL rows run bottom-up; files and tests want the top row first.
    for (int top = 0, bottom = mode.height - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(pixels.begin() + top * rowBytes, pixels.begin() + (top + 1) * rowBytes,
                         pixels.begin() + bottom * rowBytes);
    }
    return pixels;
}
