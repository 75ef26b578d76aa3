// The outline font loads in FreeType and fontconfig as the heavy face "Vostrel", has
// TrueType outlines for every printable code, and its "%" glyph is an emblem arm laid
// around the centre that the emblem routine turns its three copies about.
#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <cmath>
#include <string>

#include "data_files.h"

namespace {

constexpr int kFirstCode = 32;
constexpr int kLastCode = 126;
constexpr int kBlackWeight = 900;

class FontFile : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(FT_Init_FreeType(&library_), 0);
        ASSERT_EQ(FT_New_Face(library_, DataFile("Vostrel.ttf").c_str(), 0, &face_), 0);
    }
    void TearDown() override {
        if (face_) FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

}  // namespace

TEST_F(FontFile, IsTheBlackTrueTypeFaceVostrel) {
    EXPECT_STREQ(face_->family_name, "Vostrel");
    EXPECT_TRUE(FT_IS_SFNT(face_));
    FT_ULong length = 0;
    EXPECT_EQ(FT_Load_Sfnt_Table(face_, TTAG_glyf, 0, nullptr, &length), 0);
    EXPECT_GT(length, 0u);
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    ASSERT_NE(os2, nullptr);
    EXPECT_EQ(os2->usWeightClass, kBlackWeight);
}

TEST_F(FontFile, EveryPrintableCodeHasAnOutline) {
    for (int code = kFirstCode; code <= kLastCode; ++code) {
        FT_UInt index = FT_Get_Char_Index(face_, code);
        ASSERT_NE(index, 0u) << code;
        ASSERT_EQ(FT_Load_Glyph(face_, index, FT_LOAD_NO_SCALE), 0) << code;
        EXPECT_EQ(face_->glyph->format, FT_GLYPH_FORMAT_OUTLINE) << code;
        EXPECT_GT(face_->glyph->advance.x, 0) << code;
        if (code != ' ') {
            EXPECT_GT(face_->glyph->outline.n_contours, 0) << code;
        }
    }
}

TEST_F(FontFile, EmblemArmLiesAroundTheEmblemCentre) {
    // The emblem routine moves its first copy by (-0.117, -0.0215) em to put the emblem's
    // centre on the axis; the arm must reach out from there, not sit at the pen origin.
    const double em = face_->units_per_EM;
    const double centre_x = 0.117 * em, centre_y = 0.0215 * em;
    ASSERT_EQ(FT_Load_Char(face_, '%', FT_LOAD_NO_SCALE), 0);
    const FT_Outline& outline = face_->glyph->outline;
    EXPECT_EQ(outline.n_contours, 1);
    double nearest = em, farthest = 0;
    for (int i = 0; i < outline.n_points; ++i) {
        double distance =
            std::hypot(outline.points[i].x - centre_x, outline.points[i].y - centre_y);
        nearest = std::min(nearest, distance);
        farthest = std::max(farthest, distance);
    }
    EXPECT_GT(nearest, 0.04 * em);
    EXPECT_LT(nearest, 0.12 * em);
    EXPECT_GT(farthest, 0.3 * em);
    EXPECT_LT(farthest, 0.6 * em);
}

TEST(FontConfig, MatchesVostrelBlackFromTheRegisteredFile) {
    FcConfig* config = FcConfigCreate();
    ASSERT_NE(config, nullptr);
    const std::string path = DataFile("Vostrel.ttf");
    ASSERT_TRUE(FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(path.c_str())));
    FcPattern* request = FcPatternCreate();
    FcPatternAddString(request, FC_FAMILY, reinterpret_cast<const FcChar8*>("Vostrel"));
    FcPatternAddInteger(request, FC_WEIGHT, FC_WEIGHT_BLACK);
    FcConfigSubstitute(config, request, FcMatchPattern);
    FcDefaultSubstitute(request);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, request, &result);
    ASSERT_NE(match, nullptr);
    FcChar8* family = nullptr;
    FcChar8* file = nullptr;
    int weight = 0;
    EXPECT_EQ(FcPatternGetString(match, FC_FAMILY, 0, &family), FcResultMatch);
    EXPECT_EQ(FcPatternGetString(match, FC_FILE, 0, &file), FcResultMatch);
    EXPECT_EQ(FcPatternGetInteger(match, FC_WEIGHT, 0, &weight), FcResultMatch);
    EXPECT_STREQ(reinterpret_cast<const char*>(family), "Vostrel");
    EXPECT_EQ(path, reinterpret_cast<const char*>(file));
    EXPECT_EQ(weight, FC_WEIGHT_BLACK);
    FcPatternDestroy(match);
    FcPatternDestroy(request);
    FcConfigDestroy(config);
}
