// The test program's one real offscreen GL context, the fixtures built on it, and capture of
// what a piece of drawing code sends to GL.
//
// One context serves the whole test program and is never destroyed: terminating EGL unloads
// the GL driver, after which the leak checker can no longer name the driver's own
// process-lifetime allocations; and the show, set up once per program, keeps its textures and
// display lists in that context.
#pragma once
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/gl_functions.h"

// An entry point past GL 1.1 that only the tests call, fetched from the current context's
// driver as the program fetches its own.
template <typename Function>
Function TestGlEntry(const char* name) {
    return reinterpret_cast<Function>(GlProcAddress(name));
}

struct OffscreenGlContext;

// The program's context, created on first use and made current on every use; nullptr when EGL
// gives none.
OffscreenGlContext* TestGlContext();
// Puts the program's context, if it was made, back to GL's defaults (every attribute, client
// attribute and matrix; the objects a test made stay), whatever the test before drew or set up
// in it, and leaves it no longer current: the saver's own GLX contexts cannot be made current
// on a thread that holds it.
void ResetTestGlContext();

// For tests that need a context and nothing more; they skip when EGL gives none.
class OffscreenGlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (TestGlContext() == nullptr) GTEST_SKIP() << "no offscreen GL context";
    }
};

// The context drawing into a fresh 640 x 480 virtual video mode (RGB8, 16-bit depth), its
// viewport on all of it, for the life of the object.
class GlTestContext {
  public:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;
    static constexpr int kColourDepth = 32;

    GlTestContext();
    ~GlTestContext();
    GlTestContext(const GlTestContext&) = delete;
    GlTestContext& operator=(const GlTestContext&) = delete;

    bool ok() const { return ready_; }
    // RGBA of one pixel, origin lower left.
    std::vector<unsigned char> Pixel(int x, int y) const;

  private:
    OffscreenGlContext* context_ = nullptr;
    bool ready_ = false;
};

// One primitive from the feedback buffer: GL_POINT_TOKEN, GL_LINE_TOKEN (also for line
// resets) or GL_POLYGON_TOKEN, with its vertices as (x, y, z, r, g, b, a, s, t, p, q) in
// window coordinates.
struct FeedbackPrimitive {
    GLenum kind;
    std::vector<std::vector<float>> vertices;
};
std::vector<FeedbackPrimitive> CaptureFeedback(const std::function<void()>& draw);

// The line segments a piece of drawing code sends to GL, as clip-space (x, y, z) pairs,
// captured with transform feedback. Mesa 22's feedback mode loses or mangles the
// primitives of display lists that hold more than one glBegin/glEnd, so lists of line
// loops are read this way.
struct Segment {
    float a[3];
    float b[3];
};
std::vector<Segment> CaptureLines(const std::function<void()>& draw);
