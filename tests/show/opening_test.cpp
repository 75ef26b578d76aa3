#include "show/opening.h"

#include <gtest/gtest.h>

#include "base/run_flags.h"
#include "show/show_state.h"
#include "show_piece_test.h"

namespace {

class OpeningTest : public ShowPieceTest {
  protected:
    void SetUp() override {
        ShowPieceTest::SetUp();
        if (IsSkipped()) return;
        // Wide enough that no square is clipped into more pieces.
        LookThroughBox(-100.0, 100.0, -75.0, 75.0, -100.0, 100.0);
    }
};

// Feedback hands each quad back as two triangles.
float Alpha(const FeedbackPrimitive& p) {
    return p.vertices[0][6];
}

TEST_F(OpeningTest, NebulaLayersByDetailAndPreview) {
    showState.detailLevel = 1;
    auto medium = CaptureFeedback([] { DrawNebula(100); });
    ASSERT_EQ(medium.size(), 2u);
    EXPECT_NEAR(Alpha(medium[0]), 50 / 255.0f, 1e-3f);  // fading in: f / 2

    showState.detailLevel = 2;
    auto high = CaptureFeedback([] { DrawNebula(3000); });
    ASSERT_EQ(high.size(), 4u);
    EXPECT_NEAR(Alpha(high[0]), 128 / 255.0f, 1e-3f);
    EXPECT_NEAR(Alpha(high[3]), 128 / 255.0f, 1e-3f);

    previewFlag = 1;
    showState.detailLevel = 1;
    EXPECT_TRUE(CaptureFeedback([] { DrawNebula(3000); }).empty());

    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[14], 0.0f);  // the matrix is restored
}

TEST_F(OpeningTest, PreviewLogoTurnsWhiteFromFrame2500) {
    auto plain = CaptureFeedback([] { DrawPreviewLogo(0); });
    ASSERT_EQ(plain.size(), 4u);
    EXPECT_FLOAT_EQ(Alpha(plain[0]), 1.0f);
    EXPECT_FLOAT_EQ(Alpha(plain[3]), 0.0f);
    EXPECT_FLOAT_EQ(Alpha(CaptureFeedback([] { DrawPreviewLogo(2500); })[3]), 0.0f);
    EXPECT_NEAR(Alpha(CaptureFeedback([] { DrawPreviewLogo(3750); })[3]), 127 / 255.0f, 1e-3f);
    EXPECT_NEAR(Alpha(CaptureFeedback([] { DrawPreviewLogo(4999); })[3]), 254 / 255.0f, 1e-3f);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

}  // namespace
