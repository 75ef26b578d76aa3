#include "show/textured_quads.h"

#include <gtest/gtest.h>

#include "assets/textures.h"
#include "show_piece_test.h"

namespace {

class TexturedQuadsTest : public ShowPieceTest {
  protected:
    void SetUp() override {
        ShowPieceTest::SetUp();
        if (IsSkipped()) return;
        // A 200-unit wide view: window x = 320 + 3.2 x, y = 240 + 3.2 y.
        LookThroughBox(-100.0, 100.0, -75.0, 75.0, -1.0, 1.0);
    }
};

// Feedback hands a quad back as two triangles; every corner must carry its texture corner.
void ExpectSquare(const std::vector<FeedbackPrimitive>& quad, float h, float m) {
    ASSERT_EQ(quad.size(), 2u);
    int corners = 0;
    for (const FeedbackPrimitive& triangle : quad) {
        for (const std::vector<float>& v : triangle.vertices) {
            const float sx = v[0] > 320.0f ? 1.0f : -1.0f, sy = v[1] > 240.0f ? 1.0f : -1.0f;
            EXPECT_NEAR(v[0], 320.0f + 3.2f * h * sx, 1e-3f);
            EXPECT_NEAR(v[1], 240.0f + 3.2f * h * sy, 1e-3f);
            EXPECT_FLOAT_EQ(v[7], sx > 0 ? m : 0.0f);
            EXPECT_FLOAT_EQ(v[8], sy > 0 ? m : 0.0f);
            ++corners;
        }
    }
    EXPECT_EQ(corners, 6);
}

TEST_F(TexturedQuadsTest, SquaresAndTheirTextures) {
    texStar.Create("star");
    texSun.Create("sun");
    texStelle.Create("stelle");
    GLint bound = 0;

    auto ring = CaptureFeedback([] { DrawRingQuad(); });
    ExpectSquare(ring, 0.2f, 1.0f);

    auto sun = CaptureFeedback([] { DrawSunQuad(15.0f); });
    ExpectSquare(sun, 15.0f, 1.0f);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<unsigned>(bound) + 1, texSun.glName);

    auto star = CaptureFeedback([] { DrawStarQuad(0.5f); });
    ExpectSquare(star, 0.5f, 1.0f);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<unsigned>(bound) + 1, texStar.glName);

    // The starfield repeats its texture 15 times across 60 units and leaves generation off.
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    auto field = CaptureFeedback([] { DrawStarfield(); });
    ExpectSquare(field, 30.0f, 15.0f);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<unsigned>(bound) + 1, texStelle.glName);

    texStar.Delete();
    texSun.Delete();
    texStelle.Delete();
}

TEST_F(TexturedQuadsTest, ZeroHalfSizeCoversNoPixels) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4ub(255, 255, 255, 255);
    DrawStarQuad(0.0f);
    EXPECT_EQ(gl_.Pixel(320, 240)[0], 0);
    texStar.Delete();
}

}  // namespace
