// Test pictures: JPEG files written with libjpeg's compressor in the forms real files take
// (baseline, progressive, grey, CMYK and YCCK with or without an Adobe marker, restart
// markers, EXIF and ICC segments), plus helpers for damaging them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Colour {
    std::uint8_t r, g, b;
};

// Pixels top row first, as a person sees the picture; 1 (grey), 3 (RGB) or 4 (CMYK ink,
// 255 = full ink) bytes per pixel.
struct TestPicture {
    int width = 0;
    int height = 0;
    int channels = 3;
    std::vector<std::uint8_t> pixels;
};

enum class JpegForm { Baseline, Progressive, Restarts, ExifAndIcc, Ycck, CmykWithoutAdobe };
// The forms' names in the order above, for the names of the tests run once per form.
inline constexpr const char* kJpegFormNames[] = {"Baseline",   "Progressive", "Restarts",
                                                 "ExifAndIcc", "Ycck",        "CmykWithoutAdobe"};

// A width x height RGB picture of four solid quadrants: red top left, green top right,
// blue bottom left, white bottom right.
TestPicture QuadrantPicture(int width, int height);
TestPicture SolidPicture(int width, int height, Colour colour);
// A picture full of detail, so that most of its file is entropy-coded data.
TestPicture DetailedPicture(int width, int height);
// A grey picture whose value rises left to right in steps of 8-pixel columns.
TestPicture GreyStripes(int width, int height);
// The same quadrants as QuadrantPicture in CMYK ink: cyan, magenta, yellow, no ink.
TestPicture InkQuadrantPicture(int width, int height);

std::vector<std::uint8_t> EncodeJpeg(const TestPicture& picture,
                                     JpegForm form = JpegForm::Baseline);

std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
// Gives the path back, so that a test names and writes its picture in one line.
std::string WriteJpeg(const std::string& path, const TestPicture& picture,
                      JpegForm form = JpegForm::Baseline);

// Rewrites the frame header's size fields (the first SOFn marker).
std::vector<std::uint8_t> WithFrameSize(std::vector<std::uint8_t> jpeg, int width, int height);
