#include "show/outline_font.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "base/run_flags.h"
#include "platform/outline_font.h"
#include "settings/settings.h"
#include "show/show_setup.h"
#include "show/show_state.h"
#include "show_piece_test.h"

namespace {

constexpr LogicalFont kFallbackFont = {"DejaVu Sans", -24, 900};

// The show's own font when the build has made it.
std::string VostrelFontFile() {
    const char* build = std::getenv("VOSTREL_BUILD_DIR");
    const std::string path =
        std::string(build != nullptr ? build : VOSTREL_BUILD_DIR) + "/data/data/Vostrel.ttf";
    return std::filesystem::exists(path) ? path : std::string();
}

// An ortho view in which clip z is -z: the front at z = 0 stays 0, the back at -0.1 is 0.1.
void LookFlat() {
    LookThroughBox(-1.0, 3.0, -1.0, 2.0, -1.0, 1.0);
}

float PenX() {
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    return m[12];
}

class OutlineFontSeamTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!gl_.ok()) GTEST_SKIP() << "no offscreen GL context";
        const std::string vostrel = VostrelFontFile();
        if (!vostrel.empty() && RegisterFontFile(vostrel)) registered_ = vostrel;
        font_ = CreateOutlineFont(registered_.empty() ? kFallbackFont
                                                      : LogicalFont{"Vostrel", -24, 900});
        ASSERT_NE(font_, nullptr);
        base_ = glGenLists(2);
        LookFlat();
    }
    void TearDown() override {
        if (base_ != 0) glDeleteLists(base_, 2);
        DestroyOutlineFont(font_);
        if (!registered_.empty()) UnregisterFontFile(registered_);
    }

    int LineVertices(const OutlineFont* font, unsigned char code, float deviation) {
        UseFontOutlines(font, code, 1, base_, deviation, 0.1f);
        return static_cast<int>(CaptureLines([&] { glCallList(base_); }).size());
    }

    GlTestContext gl_;
    OutlineFont* font_ = nullptr;
    std::string registered_;
    GLuint base_ = 0;
};

// Each contour is a loop at z = 0, a loop at z = -0.1 and one edge per outline point between
// them, so a third of the segments span the depth and the rest lie flat in one of the two.
TEST_F(OutlineFontSeamTest, GlyphIsAWireFrameBetweenTwoDepths) {
    ASSERT_TRUE(UseFontOutlines(font_, 'A', 1, base_, 0.0f, 0.1f));
    int front = 0, back = 0, edges = 0;
    for (const Segment& s : CaptureLines([&] { glCallList(base_); })) {
        if (std::abs(s.a[2]) < 1e-6f && std::abs(s.b[2]) < 1e-6f) {
            ++front;
        } else if (std::abs(s.a[2] - 0.1f) < 1e-6f && std::abs(s.b[2] - 0.1f) < 1e-6f) {
            ++back;
        } else {
            EXPECT_NEAR(std::abs(s.b[2] - s.a[2]), 0.1f, 1e-6f);
            EXPECT_FLOAT_EQ(s.a[0], s.b[0]);
            EXPECT_FLOAT_EQ(s.a[1], s.b[1]);
            ++edges;
        }
    }
    EXPECT_GT(front, 2);
    EXPECT_EQ(front, back);
    EXPECT_EQ(front, edges);
}

// A system font with curves (the show's own font may be all straight strokes).
TEST_F(OutlineFontSeamTest, CoarserDeviationGivesFewerPoints) {
    OutlineFont* curved = CreateOutlineFont(kFallbackFont);
    ASSERT_NE(curved, nullptr);
    const int fine = LineVertices(curved, 'O', 0.0f);
    const int coarse = LineVertices(curved, 'O', 0.01f);
    EXPECT_GT(coarse, 0);
    EXPECT_LT(coarse, fine);
    EXPECT_EQ(LineVertices(curved, 'A', 0.0f), LineVertices(curved, 'A', 0.01f));  // straight
    // A deviation far below a design unit cuts as finely as the limit allows, never coarser.
    EXPECT_GE(LineVertices(curved, 'O', 1e-30f), fine);
    DestroyOutlineFont(curved);
}

TEST_F(OutlineFontSeamTest, CodeWithoutGlyphDrawsAndMovesNothing) {
    UseFontOutlines(font_, 1, 1, base_, 0.0f, 0.1f);
    EXPECT_TRUE(CaptureLines([&] { glCallList(base_); }).empty());
    glLoadIdentity();
    glCallList(base_);
    EXPECT_FLOAT_EQ(PenX(), 0.0f);
}

TEST_F(OutlineFontSeamTest, UnregisteringOneFileKeepsTheOthers) {
    if (registered_.empty()) GTEST_SKIP() << "the build has not made Vostrel.ttf";
    const std::string other = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    const bool hasOther = std::filesystem::exists(other) && RegisterFontFile(other);
    const LogicalFont vostrel = {"Vostrel", -24, 900};
    UnregisterFontFile(registered_);
    OutlineFont* after = CreateOutlineFont(vostrel);
    EXPECT_NE(OutlineFontFamily(after), "Vostrel");
    DestroyOutlineFont(after);
    ASSERT_TRUE(RegisterFontFile(registered_));
    after = CreateOutlineFont(vostrel);
    EXPECT_EQ(OutlineFontFamily(after), "Vostrel");
    DestroyOutlineFont(after);
    if (hasOther) UnregisterFontFile(other);
}

TEST(OutlineFontFileTest, MissingFileIsNotRegistered) {
    EXPECT_FALSE(RegisterFontFile("/nonexistent/Vostrel.ttf"));
    UnregisterFontFile("/nonexistent/Vostrel.ttf");
}

// The show's font as the set-up builds it (the face falls back to the closest font when
// the data folder has none).
class PrintOutlineTest : public SetUpShowTest {
  protected:
    void SetUp() override {
        SetUpShowTest::SetUp();
        if (Ready()) LookFlat();
    }

    float Advance(const char* text) {
        glLoadIdentity();
        PrintOutline(text);
        return PenX();
    }
};

TEST_F(PrintOutlineTest, PenMovesByTheGlyphAdvancesInEms) {
    const float a = Advance("A"), b = Advance("B");
    EXPECT_GT(a, 0.3f);
    EXPECT_LT(a, 1.2f);
    EXPECT_GT(b, 0.3f);
    EXPECT_FLOAT_EQ(Advance("AB"), a + b);
    EXPECT_FLOAT_EQ(Advance(""), 0.0f);
    EXPECT_FLOAT_EQ(Advance("Aa~\xff"), a);  // codes above Z are skipped
    GLint listBase = -1;
    glGetIntegerv(GL_LIST_BASE, &listBase);
    EXPECT_EQ(listBase, 0);
}

TEST_F(PrintOutlineTest, MatroxSuppressesTextOutsidePreview) {
    settings.matrox = 1;
    EXPECT_TRUE(CaptureLines([] { PrintOutline("AB"); }).empty());
    EXPECT_FLOAT_EQ(Advance("AB"), 0.0f);
    previewFlag = 1;
    EXPECT_FALSE(CaptureLines([] { PrintOutline("AB"); }).empty());
    EXPECT_GT(Advance("AB"), 0.0f);
}

}  // namespace
