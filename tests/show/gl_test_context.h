// The test process's real offscreen GL context, drawing into a fresh 640 x 480 virtual video
// mode (RGB8, 16-bit depth) for each test, plus feedback-mode capture of what a piece of drawing
// code sends to GL.
#pragma once
#include <GL/gl.h>

#include <functional>
#include <vector>

struct OffscreenGlContext;

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
