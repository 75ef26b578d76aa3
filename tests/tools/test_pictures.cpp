// The JPEG textures decode with libjpeg at their sizes; sprites fade to black before
// their border; tiles wrap; the credits font sheet has its glyphs where the show looks.
#include <gtest/gtest.h>

#include <jpeglib.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "data_files.h"

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<unsigned char> pixels;

    int At(int x, int y, int c) const { return pixels[(y * width + x) * channels + c]; }
    int Brightest(int x, int y) const {
        int most = 0;
        for (int c = 0; c < channels; ++c) most = std::max(most, At(x, y, c));
        return most;
    }
};

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

bool DecodeJpeg(const std::string& path, Picture& picture, bool& baseline) {
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return false;
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file.get());
    jpeg_read_header(&info, TRUE);
    baseline = !info.progressive_mode && !info.arith_code;
    jpeg_start_decompress(&info);
    picture.width = static_cast<int>(info.output_width);
    picture.height = static_cast<int>(info.output_height);
    picture.channels = info.output_components;
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height * picture.channels);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &picture.pixels[static_cast<size_t>(info.output_scanline) * picture.width *
                                       picture.channels];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

Picture Load(const std::string& name) {
    Picture picture;
    bool baseline = false;
    EXPECT_TRUE(DecodeJpeg(DataFile(name), picture, baseline)) << name;
    EXPECT_TRUE(baseline) << name;
    return picture;
}

int BrightestOnBorder(const Picture& p) {
    int most = 0;
    for (int i = 0; i < p.width; ++i) {
        most = std::max({most, p.Brightest(i, 0), p.Brightest(i, p.height - 1)});
    }
    for (int i = 0; i < p.height; ++i) {
        most = std::max({most, p.Brightest(0, i), p.Brightest(p.width - 1, i)});
    }
    return most;
}

// Mean difference across the wrap seam, against the mean difference between columns (or
// rows) a quarter of the picture apart: in a tile that wraps, the two edges are neighbours
// and nearly alike; in one that does not, they are as unlike as any two distant columns.
double SeamRatio(const Picture& p, bool across_columns) {
    auto difference = [&](int a, int b) {
        double sum = 0;
        int count = across_columns ? p.height : p.width;
        for (int i = 0; i < count; ++i) {
            for (int c = 0; c < p.channels; ++c) {
                int first = across_columns ? p.At(a, i, c) : p.At(i, a, c);
                int second = across_columns ? p.At(b, i, c) : p.At(i, b, c);
                sum += std::abs(first - second);
            }
        }
        return sum / count;
    };
    const int size = across_columns ? p.width : p.height;
    double distant = 0;
    for (int i = 0; i < size; ++i) distant += difference(i, (i + size / 4) % size);
    return difference(size - 1, 0) / (distant / size);
}

}  // namespace

TEST(DataPictures, EveryTextureDecodesAtItsPowerOfTwoSize) {
    const struct {
        const char* name;
        int size;
    } textures[] = {{"star.jpg", 256},    {"Sun.jpg", 256}, {"fire.jpg", 512}, {"stelle.jpg", 256},
                    {"stelle2.jpg", 256}, {"env.jpg", 512}, {"Front.jpg", 512}};
    for (const auto& texture : textures) {
        Picture picture = Load(texture.name);
        EXPECT_EQ(picture.width, texture.size) << texture.name;
        EXPECT_EQ(picture.height, texture.size) << texture.name;
        EXPECT_EQ(picture.channels, 3) << texture.name;
    }
}

TEST(DataPictures, SpritesAreBlackAlongTheirBorderAndBrightInTheMiddle) {
    for (const char* name : {"star.jpg", "Sun.jpg", "Front.jpg"}) {
        Picture sprite = Load(name);
        EXPECT_LE(BrightestOnBorder(sprite), 2) << name;
    }
    for (const char* name : {"star.jpg", "Sun.jpg"}) {
        Picture sprite = Load(name);
        EXPECT_GE(sprite.Brightest(sprite.width / 2, sprite.height / 2), 250) << name;
    }
}

TEST(DataPictures, LogoIsStoredUpsideDownForThePreview) {
    // Rows reach the texture bottom-up and the preview turns its quad over about x, so
    // the word under the emblem has to sit in the file's top rows.
    Picture logo = Load("Front.jpg");
    auto litSpan = [&](int firstRow, int lastRow) {
        int left = logo.width, right = -1;
        for (int y = firstRow; y < lastRow; ++y) {
            for (int x = 0; x < logo.width; ++x) {
                if (logo.Brightest(x, y) > 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        return right - left;
    };
    const int band = logo.height * 3 / 10;
    EXPECT_GT(litSpan(0, band), logo.width * 6 / 10);
    EXPECT_LT(litSpan(logo.height - band, logo.height), logo.width * 6 / 10);
}

TEST(DataPictures, TilesWrapWithoutASeam) {
    constexpr double kSeamless = 0.4;
    Picture fire = Load("fire.jpg");
    EXPECT_LT(SeamRatio(fire, true), kSeamless);
    for (const char* name : {"stelle.jpg", "env.jpg"}) {
        Picture tile = Load(name);
        EXPECT_LT(SeamRatio(tile, true), kSeamless) << name;
        EXPECT_LT(SeamRatio(tile, false), kSeamless) << name;
    }
}

TEST(DataPictures, FontSheetHasGlyphCellsOnTopAndBlackBottomRows) {
    Picture sheet = Load("Font.jpg");
    ASSERT_EQ(sheet.width, 512);
    ASSERT_EQ(sheet.height, 256);
    const int cell = sheet.width / 16;
    auto ink = [&](int code) {
        int index = code - 32, lit = 0;
        for (int y = 0; y < cell; ++y) {
            for (int x = 0; x < cell; ++x) {
                lit += sheet.Brightest((index % 16) * cell + x, (index / 16) * cell + y) > 128;
            }
        }
        return lit;
    };
    EXPECT_GT(ink('A'), 60);
    EXPECT_GT(ink('a'), 40);
    EXPECT_GT(ink('~'), 10);
    EXPECT_EQ(ink(' '), 0);
    int brightest = 0;
    for (int y = 6 * cell; y < sheet.height; ++y) {
        for (int x = 0; x < sheet.width; ++x)
            brightest = std::max(brightest, sheet.Brightest(x, y));
    }
    EXPECT_LE(brightest, 2);
}

TEST(DataPictures, GlyphsKeepAMarginInsideTheirCells) {
    // The show advances 14 of every 16 units, so two columns of each cell overlap the next.
    Picture sheet = Load("Font.jpg");
    const int cell = sheet.width / 16;
    const int margin = cell / 16 * 2;
    for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 16; ++column) {
            for (int y = 0; y < cell; ++y) {
                for (int x = 0; x < margin; ++x) {
                    int left = column * cell + x, right = column * cell + cell - 1 - x;
                    ASSERT_LT(sheet.Brightest(left, row * cell + y), 64) << row << "," << column;
                    ASSERT_LT(sheet.Brightest(right, row * cell + y), 64) << row << "," << column;
                }
            }
        }
    }
}
