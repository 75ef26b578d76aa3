#include "jpeg_writer.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

// Tests may use the platform library directly to make their input.
#include <jpeglib.h>

namespace {

constexpr int kFullInk = 255;
constexpr int kBestQuality = 100;

std::vector<std::uint8_t> ExifSegment() {
    // "Exif\0\0", then a little-endian TIFF header whose first directory has no entries.
    return {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

std::vector<std::uint8_t> LargeIccProfile() {
    // Larger than one marker segment holds, so libjpeg splits it across two.
    std::vector<std::uint8_t> profile(70000);
    for (std::size_t i = 0; i < profile.size(); ++i) profile[i] = static_cast<std::uint8_t>(i);
    return profile;
}

void SetColourSpace(jpeg_compress_struct& compress, const TestPicture& picture, JpegForm form) {
    if (picture.channels == 1) {
        compress.in_color_space = JCS_GRAYSCALE;
    } else if (picture.channels == 4) {
        compress.in_color_space = JCS_CMYK;
    } else {
        compress.in_color_space = JCS_RGB;
    }
    compress.input_components = picture.channels;
    jpeg_set_defaults(&compress);
    if (picture.channels == 4) {
        jpeg_set_colorspace(&compress, form == JpegForm::Ycck ? JCS_YCCK : JCS_CMYK);
        compress.write_Adobe_marker = form != JpegForm::CmykWithoutAdobe;
    }
    // Full-resolution colour keeps solid areas close to their colours at quality 100.
    for (int i = 0; i < compress.num_components; ++i) {
        compress.comp_info[i].h_samp_factor = 1;
        compress.comp_info[i].v_samp_factor = 1;
    }
}

// Stored ink values: inverted when an Adobe marker says so, as Photoshop writes them.
std::vector<std::uint8_t> StoredSamples(const TestPicture& picture, JpegForm form) {
    std::vector<std::uint8_t> samples = picture.pixels;
    if (picture.channels == 4 && form != JpegForm::CmykWithoutAdobe) {
        for (auto& sample : samples) sample = static_cast<std::uint8_t>(kFullInk - sample);
    }
    return samples;
}

}  // namespace

TestPicture QuadrantPicture(int width, int height) {
    TestPicture picture{width, height, 3, {}};
    const Colour quadrants[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Colour c = quadrants[(y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1)];
            picture.pixels.insert(picture.pixels.end(), {c.r, c.g, c.b});
        }
    }
    return picture;
}

TestPicture SolidPicture(int width, int height, Colour colour) {
    TestPicture picture{width, height, 3, {}};
    for (int i = 0; i < width * height; ++i) {
        picture.pixels.insert(picture.pixels.end(), {colour.r, colour.g, colour.b});
    }
    return picture;
}

TestPicture DetailedPicture(int width, int height) {
    TestPicture picture{width, height, 3, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.pixels.insert(picture.pixels.end(), {static_cast<std::uint8_t>(x * 37 ^ y * 11),
                                                         static_cast<std::uint8_t>(x * y + 3 * x),
                                                         static_cast<std::uint8_t>((x ^ y) * 29)});
        }
    }
    return picture;
}

TestPicture GreyStripes(int width, int height) {
    TestPicture picture{width, height, 1, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.pixels.push_back(static_cast<std::uint8_t>(x / 8 * 64));
    }
    return picture;
}

TestPicture InkQuadrantPicture(int width, int height) {
    TestPicture picture{width, height, 4, {}};
    const std::uint8_t quadrants[4][4] = {
        {255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}, {0, 0, 0, 0}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* ink = quadrants[(y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1)];
            picture.pixels.insert(picture.pixels.end(), ink, ink + 4);
        }
    }
    return picture;
}

std::vector<std::uint8_t> EncodeJpeg(const TestPicture& picture, JpegForm form) {
    jpeg_compress_struct compress{};
    jpeg_error_mgr errors{};
    compress.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compress);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&compress, &buffer, &size);
    compress.image_width = static_cast<JDIMENSION>(picture.width);
    compress.image_height = static_cast<JDIMENSION>(picture.height);
    SetColourSpace(compress, picture, form);
    jpeg_set_quality(&compress, kBestQuality, TRUE);
    if (form == JpegForm::Progressive) jpeg_simple_progression(&compress);
    if (form == JpegForm::Restarts) compress.restart_interval = 1;
    jpeg_start_compress(&compress, TRUE);
    if (form == JpegForm::ExifAndIcc) {
        std::vector<std::uint8_t> exif = ExifSegment();
        jpeg_write_marker(&compress, JPEG_APP0 + 1, exif.data(),
                          static_cast<unsigned>(exif.size()));
        std::vector<std::uint8_t> icc = LargeIccProfile();
        jpeg_write_icc_profile(&compress, icc.data(), static_cast<unsigned>(icc.size()));
    }
    std::vector<std::uint8_t> samples = StoredSamples(picture, form);
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * picture.channels;
    while (compress.next_scanline < compress.image_height) {
        JSAMPROW row = samples.data() + compress.next_scanline * rowBytes;
        jpeg_write_scanlines(&compress, &row, 1);
    }
    jpeg_finish_compress(&compress);
    jpeg_destroy_compress(&compress);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::string WriteJpeg(const std::string& path, const TestPicture& picture, JpegForm form) {
    WriteFileBytes(path, EncodeJpeg(picture, form));
    return path;
}

std::vector<std::uint8_t> WithFrameSize(std::vector<std::uint8_t> jpeg, int width, int height) {
    // Walk the marker segments after SOI up to the frame header.
    std::size_t at = 2;
    while (at + 8 < jpeg.size() && jpeg[at] == 0xFF) {
        std::uint8_t marker = jpeg[at + 1];
        if (marker >= 0xC0 && marker <= 0xC2) {
            jpeg[at + 5] = static_cast<std::uint8_t>(height >> 8);
            jpeg[at + 6] = static_cast<std::uint8_t>(height);
            jpeg[at + 7] = static_cast<std::uint8_t>(width >> 8);
            jpeg[at + 8] = static_cast<std::uint8_t>(width);
            break;
        }
        at += 2 + (jpeg[at + 2] << 8 | jpeg[at + 3]);
    }
    return jpeg;
}
