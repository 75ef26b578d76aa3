#include "show/bitmap_font.h"

#include <gtest/gtest.h>

#include "assets/textures.h"
#include "gl_test_context.h"

namespace {

// The font texture is replaced by plain white so that every glyph covers its whole quad.
class BitmapFontTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!gl_.ok()) GTEST_SKIP() << "no offscreen GL context";
        texFont.Create("white");
        const unsigned char white[4] = {255, 255, 255, 255};
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
        BuildBitmapFont();
        glEnable(GL_TEXTURE_2D);
        glColor4ub(255, 255, 255, 255);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override {
        DeleteBitmapFontLists();
        texFont.Delete();
    }

    bool Lit(int x, int y) { return gl_.Pixel(x, y)[0] > 128; }

    GlTestContext gl_;
};

TEST_F(BitmapFontTest, GlyphsAreSixteenWideAndAdvanceFourteen) {
    PrintBitmap(2, 2, "A");
    EXPECT_FALSE(Lit(1, 10));
    EXPECT_TRUE(Lit(2, 10));
    EXPECT_TRUE(Lit(17, 10));
    EXPECT_FALSE(Lit(18, 10));
    EXPECT_TRUE(Lit(10, 2));
    EXPECT_TRUE(Lit(10, 17));
    EXPECT_FALSE(Lit(10, 18));

    glClear(GL_COLOR_BUFFER_BIT);
    PrintBitmap(2, 2, "AB");
    EXPECT_FALSE(Lit(1, 10));
    EXPECT_TRUE(Lit(2, 10));
    EXPECT_TRUE(Lit(31, 10));
    EXPECT_FALSE(Lit(32, 10));
}

TEST_F(BitmapFontTest, LeavesModelviewCurrentAndDepthTestOn) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(5.0f, 0.0f, 0.0f);
    PrintBitmap(2, 2, "");
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[12], 5.0f);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_FLOAT_EQ(m[0], 1.0f);
    EXPECT_FALSE(Lit(10, 10));  // the empty text drew nothing
}

// Glyph i lies in column i mod 16 and cell row i / 16 of the texture; t runs 1.25 to 2.0 and
// folds back onto the cells by repeat wrapping.
TEST_F(BitmapFontTest, TextureCoordinatesAddressTheGlyphCell) {
    const auto glyph = CaptureFeedback([] { PrintBitmap(0, 0, "Q"); });
    ASSERT_EQ(glyph.size(), 2u);  // the quad comes back as two triangles
    const int i = 'Q' - 32;
    const float cx = (i % 16) / 16.0f, bottom = (1.0f - (i / 16) / 16.0f - 0.0625f) * 2.0f;
    for (const FeedbackPrimitive& triangle : glyph) {
        for (const std::vector<float>& v : triangle.vertices) {
            const bool right = v[0] > 8.0f, up = v[1] > 8.0f;
            EXPECT_FLOAT_EQ(v[0], right ? 16.0f : 0.0f);
            EXPECT_FLOAT_EQ(v[1], up ? 16.0f : 0.0f);
            EXPECT_FLOAT_EQ(v[7], right ? cx + 0.0625f : cx);
            EXPECT_FLOAT_EQ(v[8], up ? bottom + 0.125f : bottom);
        }
    }
}

}  // namespace
