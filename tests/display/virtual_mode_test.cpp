#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>
#include <vector>

#include "display/letterbox.h"
#include "display/projection.h"
#include "display/virtual_mode.h"
#include "gl_test_context.h"

namespace {

class VirtualModeTest : public OffscreenGlTest {
  protected:
    void TearDown() override { LeaveVirtualMode(); }
};

GLint AttachmentBits(GLenum attachment, GLenum which) {
    GLint bits = 0;
    TestGlEntry<PFNGLGETFRAMEBUFFERATTACHMENTPARAMETERIVPROC>(
        "glGetFramebufferAttachmentParameteriv")(GL_FRAMEBUFFER, attachment, which, &bits);
    return bits;
}

GLint ColorAttachmentBits(GLenum which) {
    return AttachmentBits(GL_COLOR_ATTACHMENT0, which);
}

GLint BoundFramebuffer() {
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    return bound;
}

TEST_F(VirtualModeTest, DepthChoosesColourFormatAndDepthIsSixteenBits) {
    ASSERT_TRUE(EnterVirtualMode(64, 48, 16));
    EXPECT_EQ(ColorAttachmentBits(GL_FRAMEBUFFER_ATTACHMENT_RED_SIZE), 5);
    EXPECT_EQ(ColorAttachmentBits(GL_FRAMEBUFFER_ATTACHMENT_GREEN_SIZE), 6);
    EXPECT_EQ(AttachmentBits(GL_DEPTH_ATTACHMENT, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE), 16);

    ASSERT_TRUE(EnterVirtualMode(64, 48, 32));
    EXPECT_EQ(ColorAttachmentBits(GL_FRAMEBUFFER_ATTACHMENT_RED_SIZE), 8);
    EXPECT_EQ(ColorAttachmentBits(GL_FRAMEBUFFER_ATTACHMENT_BLUE_SIZE), 8);
}

TEST_F(VirtualModeTest, RefusesSizesThatCannotBeMadeAndKeepsNothing) {
    GLint limit = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &limit);
    const int refused[][2] = {{0, 0},      {640, 0},        {0, 480},
                              {-640, 480}, {limit + 1, 16}, {16, limit + 1}};
    for (const auto& size : refused) {
        ASSERT_TRUE(EnterVirtualMode(32, 32, 32));
        EXPECT_FALSE(EnterVirtualMode(size[0], size[1], 32)) << size[0] << "x" << size[1];
        EXPECT_FALSE(InVirtualMode());
        EXPECT_EQ(BoundFramebuffer(), 0);
        EXPECT_TRUE(ReadVirtualModePixels().empty());
    }
    LeaveVirtualMode();  // a second release is harmless
}

TEST_F(VirtualModeTest, ReadsTopRowFirstAndKeepsThePictureBetweenFrames) {
    constexpr int kWidth = 8, kHeight = 6;
    ASSERT_TRUE(EnterVirtualMode(kWidth, kHeight, 32));
    SetProjection(kWidth, kHeight);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    // Only the top two rows (GL's highest y) turn green.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, kHeight - 2, kWidth, 2);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);

    const std::vector<std::uint8_t> pixels = ReadVirtualModePixels();
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(kWidth * kHeight * 3));
    const auto at = [&](int row, int channel) { return pixels[(row * kWidth) * 3 + channel]; };
    EXPECT_EQ(at(0, 1), 255);
    EXPECT_EQ(at(1, 1), 255);
    EXPECT_EQ(at(2, 0), 255);
    EXPECT_EQ(at(kHeight - 1, 0), 255);
    EXPECT_EQ(at(kHeight - 1, 1), 0);
    // Nothing clears the framebuffer between two reads.
    EXPECT_EQ(ReadVirtualModePixels(), pixels);
}

TEST_F(VirtualModeTest, PresentLeavesTheVirtualFramebufferBoundAndTheClearColourAlone) {
    ASSERT_TRUE(EnterVirtualMode(64, 48, 32));
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    PresentVirtualMode(128, 72);
    while (glGetError() != GL_NO_ERROR) {
        // A surfaceless context has no window framebuffer to blit to; only the state matters.
    }
    EXPECT_NE(BoundFramebuffer(), 0);
    GLfloat clear[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[3], 0.5f);
}

TEST_F(VirtualModeTest, ProjectionTakesHeightZeroAsOne) {
    SetProjection(640, 0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 1);
    GLint matrixMode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
    GLdouble projection[16] = {};
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    // 45 degrees: f = 1 / tan(22.5 deg); x scale is f / aspect with aspect 640.
    EXPECT_NEAR(projection[5], 2.414213562, 1e-6);
    EXPECT_NEAR(projection[0], 2.414213562 / 640.0, 1e-9);
}

TEST(Letterbox, KeepsAspectAndCentresTheBars) {
    // picture width and height, screen width and height, then the rectangle x0, x1, y0, y1
    const int cases[][8] = {{640, 480, 1280, 720, 160, 1120, 0, 720},
                            {1280, 720, 640, 480, 0, 640, 60, 420},
                            {800, 600, 400, 300, 0, 400, 0, 300},
                            {1, 1, 100000, 3, 49998, 50001, 0, 3}};
    for (const auto& c : cases) {
        const LetterboxRect rect = FitPicture(c[0], c[1], c[2], c[3]);
        EXPECT_EQ((std::vector<int>{rect.x0, rect.x1, rect.y0, rect.y1}),
                  (std::vector<int>{c[4], c[5], c[6], c[7]}))
            << c[0] << "x" << c[1] << " on " << c[2] << "x" << c[3];
    }
}

}  // namespace
