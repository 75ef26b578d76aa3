#include "assets/jpeg_image.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "jpeg_writer.h"
#include "temp_folder.h"

namespace {

constexpr int kNoLimit = 1 << 20;
// Solid areas of a quality-100 picture decode within a few steps of their colour.
constexpr int kTolerance = 6;

const Colour kRed{255, 0, 0};
const Colour kGreen{0, 255, 0};
const Colour kBlue{0, 0, 255};
const Colour kWhite{255, 255, 255};
const Colour kCyan{0, 255, 255};
const Colour kMagenta{255, 0, 255};
const Colour kYellow{255, 255, 0};

// The pixel at column x of buffer row y (row 0 is the picture's bottom).
::testing::AssertionResult PixelNear(const Image& image, int x, int y, Colour expected) {
    const unsigned char* p = image.GetPixels() + (y * image.GetWidth() + x) * 3;
    if (std::abs(p[0] - expected.r) <= kTolerance && std::abs(p[1] - expected.g) <= kTolerance &&
        std::abs(p[2] - expected.b) <= kTolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "pixel (" << x << ", " << y << ") is " << int(p[0]) << ", " << int(p[1]) << ", "
           << int(p[2]) << "; expected " << int(expected.r) << ", " << int(expected.g) << ", "
           << int(expected.b);
}

// Bottom row first: the bottom-left and bottom-right colours, then the top two.
void ExpectCorners(const Image& image, Colour bottomLeft, Colour bottomRight, Colour topLeft,
                   Colour topRight) {
    const int right = image.GetWidth() - 1;
    const int top = image.GetHeight() - 1;
    EXPECT_TRUE(PixelNear(image, 0, 0, bottomLeft));
    EXPECT_TRUE(PixelNear(image, right, 0, bottomRight));
    EXPECT_TRUE(PixelNear(image, 0, top, topLeft));
    EXPECT_TRUE(PixelNear(image, right, top, topRight));
}

class JpegImageTest : public ::testing::Test {
  protected:
    TempFolder scratch;
};

TEST_F(JpegImageTest, ColourPictureDecodesToRgbRowsBottomUp) {
    const std::string path = WriteJpeg(scratch.File("quadrants.jpg"), QuadrantPicture(16, 32));
    JpegImage image;
    ASSERT_TRUE(image.Load(path.c_str(), false, kNoLimit));
    EXPECT_EQ(image.GetWidth(), 16);
    EXPECT_EQ(image.GetHeight(), 32);
    EXPECT_EQ(image.GetBitsPerPixel(), 24);
    ExpectCorners(image, kBlue, kWhite, kRed, kGreen);
}

TEST_F(JpegImageTest, GreyFileAndForcedGreyGiveOneBytePerPixel) {
    const std::string greyPath = WriteJpeg(scratch.File("grey.jpg"), GreyStripes(32, 8));
    JpegImage grey;
    ASSERT_TRUE(grey.Load(greyPath.c_str(), false, kNoLimit));
    EXPECT_EQ(grey.GetBitsPerPixel(), 8);
    EXPECT_NEAR(grey.GetPixels()[0], 0, kTolerance);
    EXPECT_NEAR(grey.GetPixels()[31], 192, kTolerance);

    const std::string colourPath = WriteJpeg(scratch.File("white.jpg"), SolidPicture(8, 8, kWhite));
    JpegImage forced;
    ASSERT_TRUE(forced.Load(colourPath.c_str(), true, kNoLimit));
    EXPECT_EQ(forced.GetBitsPerPixel(), 8);
    EXPECT_NEAR(forced.GetPixels()[63], 255, kTolerance);
}

std::string FormName(const ::testing::TestParamInfo<JpegForm>& info) {
    return kJpegFormNames[static_cast<int>(info.param)];
}

class JpegFormTest : public JpegImageTest, public ::testing::WithParamInterface<JpegForm> {};

TEST_P(JpegFormTest, DecodesTheSamePicture) {
    const std::string path =
        WriteJpeg(scratch.File("form.jpg"), QuadrantPicture(24, 16), GetParam());
    JpegImage image;
    ASSERT_TRUE(image.Load(path.c_str(), false, kNoLimit));
    EXPECT_EQ(image.GetWidth(), 24);
    EXPECT_EQ(image.GetHeight(), 16);
    ExpectCorners(image, kBlue, kWhite, kRed, kGreen);
}

INSTANTIATE_TEST_SUITE_P(RealWorldForms, JpegFormTest,
                         ::testing::Values(JpegForm::Progressive, JpegForm::Restarts,
                                           JpegForm::ExifAndIcc),
                         FormName);

class InkFormTest : public JpegImageTest, public ::testing::WithParamInterface<JpegForm> {};

TEST_P(InkFormTest, InkPictureComesOutAsRgb) {
    const std::string path =
        WriteJpeg(scratch.File("ink.jpg"), InkQuadrantPicture(16, 16), GetParam());
    JpegImage image;
    ASSERT_TRUE(image.Load(path.c_str(), false, kNoLimit));
    EXPECT_EQ(image.GetBitsPerPixel(), 24);
    ExpectCorners(image, kYellow, kWhite, kCyan, kMagenta);

    JpegImage grey;
    ASSERT_TRUE(grey.Load(path.c_str(), true, kNoLimit));
    EXPECT_EQ(grey.GetBitsPerPixel(), 8);
    EXPECT_NEAR(grey.GetPixels()[15], 255, kTolerance);  // no ink, bottom right
}

INSTANTIATE_TEST_SUITE_P(CmykAndYcck, InkFormTest,
                         ::testing::Values(JpegForm::Baseline, JpegForm::CmykWithoutAdobe,
                                           JpegForm::Ycck),
                         FormName);

TEST_F(JpegImageTest, OddSizesDecode) {
    const int sizes[][2] = {{1, 1}, {3, 7}, {4097, 5}};
    for (const auto& size : sizes) {
        const std::string path =
            WriteJpeg(scratch.File("odd.jpg"), SolidPicture(size[0], size[1], kMagenta));
        JpegImage image;
        ASSERT_TRUE(image.Load(path.c_str(), false, kNoLimit)) << size[0] << "x" << size[1];
        EXPECT_EQ(image.GetWidth(), size[0]);
        EXPECT_EQ(image.GetHeight(), size[1]);
        ExpectCorners(image, kMagenta, kMagenta, kMagenta, kMagenta);
    }
}

TEST_F(JpegImageTest, PictureOverTheSideLimitIsRefused) {
    const std::string path = WriteJpeg(scratch.File("limit.jpg"), SolidPicture(16, 8, kRed));
    JpegImage fits;
    EXPECT_TRUE(fits.Load(path.c_str(), false, 16));
    JpegImage tooWide;
    EXPECT_FALSE(tooWide.Load(path.c_str(), false, 15));
    EXPECT_EQ(tooWide.GetPixels(), nullptr);

    // A damaged header claiming 65000 x 65000 must not be allocated (12 GB).
    std::string huge = scratch.File("huge.jpg");
    WriteFileBytes(huge, WithFrameSize(EncodeJpeg(SolidPicture(16, 8, kRed)), 65000, 65000));
    JpegImage claimed;
    EXPECT_FALSE(claimed.Load(huge.c_str(), false, 16384));
}

TEST_F(JpegImageTest, BadFilesFailCleanlyAndLeaveTheImageEmpty) {
    std::vector<std::uint8_t> good = EncodeJpeg(DetailedPicture(64, 64));
    std::vector<std::uint8_t> truncated(good.begin(), good.begin() + good.size() * 2 / 3);
    std::vector<std::uint8_t> corrupt = good;
    // An unexpected restart marker in the middle of the entropy-coded data.
    corrupt[good.size() / 2] = 0xFF;
    corrupt[good.size() / 2 + 1] = 0xD3;
    const std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0,
                                           0,    13,  'I', 'H', 'D',  'R',  0,    0,    0, 16};
    const std::pair<const char*, std::vector<std::uint8_t>> files[] = {
        {"empty.jpg", {}},
        {"truncated.jpg", truncated},
        {"corrupt.jpg", corrupt},
        {"renamed-png.jpg", png},
        {"only-soi.jpg", {0xFF, 0xD8}}};
    for (const auto& [name, bytes] : files) {
        std::string path = scratch.File(name);
        WriteFileBytes(path, bytes);
        JpegImage image;
        EXPECT_FALSE(image.Load(path.c_str(), false, kNoLimit)) << name;
        EXPECT_EQ(image.GetPixels(), nullptr) << name;
        EXPECT_EQ(image.GetWidth(), 0) << name;
    }
    JpegImage missing;
    EXPECT_FALSE(missing.Load(scratch.File("missing.jpg").c_str(), false, kNoLimit));
    JpegImage folder;
    EXPECT_FALSE(folder.Load(scratch.File("").c_str(), false, kNoLimit));
}

}  // namespace
