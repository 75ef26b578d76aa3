// JPEG decoding with libjpeg-turbo.
//
// libjpeg reports fatal errors by calling error_exit, whose default ends the process, and
// prints warnings. Both are replaced: errors and data-damage warnings longjmp back to the
// read that was running, which abandons the picture. The steps run under Guarded hold no
// objects with destructors, since longjmp would skip them.
//
// libjpeg cannot turn CMYK or YCCK into RGB or grey; such files are decoded as CMYK (libjpeg
// turns YCCK into CMYK) and converted here. Files carrying an Adobe marker store inverted
// ink values, as Photoshop writes them.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <new>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
// After jpeglib.h, as it expects.
#include <jerror.h>

#include "platform/data_files.h"
#include "platform/jpeg_decoder.h"

namespace {

struct DecoderErrors {
    jpeg_error_mgr manager;  // first, so libjpeg's err pointer is also ours
    std::jmp_buf escape;
};

}  // namespace

struct JpegDecoderState {
    jpeg_decompress_struct decompress{};
    DecoderErrors errors{};
    FILE* file = nullptr;
    bool headerRead = false;
};

namespace {

constexpr int kFullIntensity = 255;

[[noreturn]] void AbandonPicture(j_common_ptr common) {
    std::longjmp(reinterpret_cast<DecoderErrors*>(common->err)->escape, 1);
}

// Warnings that say nothing about the picture's data; every other warning means damage.
bool IsHarmlessWarning(int code) {
    return code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM;
}

void EmitMessage(j_common_ptr common, int level) {
    constexpr int kWarningLevel = -1;
    if (level == kWarningLevel && !IsHarmlessWarning(common->err->msg_code)) {
        AbandonPicture(common);
    }
}

void OutputNothing(j_common_ptr) {}

void CloseFile(JpegDecoderState& state) {
    if (state.file != nullptr) std::fclose(state.file);
    state.file = nullptr;
    state.headerRead = false;
}

// Undoes a read that failed part-way, leaving the decompressor ready for another file.
void AbandonRead(JpegDecoderState& state) {
    jpeg_abort_decompress(&state.decompress);
    CloseFile(state);
}

// Runs one libjpeg step; an error or damage warning inside it lands back here.
template <typename Step>
bool Guarded(JpegDecoderState& state, const Step& step) {
    if (setjmp(state.errors.escape) != 0) {
        AbandonRead(state);
        return false;
    }
    return step();
}

bool ReadHeader(JpegDecoderState& state, const char* path) {
    CloseFile(state);
    jpeg_abort_decompress(&state.decompress);
    if (path == nullptr) return false;
    state.file = OpenRegularFileForReading(path);
    if (state.file == nullptr) return false;
    return Guarded(state, [&] {
        jpeg_stdio_src(&state.decompress, state.file);
        jpeg_read_header(&state.decompress, TRUE);
        state.headerRead = true;
        return true;
    });
}

bool IsInkColourSpace(J_COLOR_SPACE space) {
    return space == JCS_CMYK || space == JCS_YCCK;
}

unsigned char InkToLight(int ink, int black, bool inverted) {
    if (!inverted) {
        ink = kFullIntensity - ink;
        black = kFullIntensity - black;
    }
    return static_cast<unsigned char>((ink * black + kFullIntensity / 2) / kFullIntensity);
}

// The weights libjpeg itself uses for grey (0.299, 0.587, 0.114), in 256ths.
unsigned char Luma(unsigned char r, unsigned char g, unsigned char b) {
    return static_cast<unsigned char>((r * 77 + g * 150 + b * 29 + 128) >> 8);
}

void ConvertInkRow(const JSAMPLE* ink, unsigned char* out, int width, JpegColour colour,
                   bool inverted) {
    for (int x = 0; x < width; ++x, ink += 4) {
        unsigned char r = InkToLight(ink[0], ink[3], inverted);
        unsigned char g = InkToLight(ink[1], ink[3], inverted);
        unsigned char b = InkToLight(ink[2], ink[3], inverted);
        if (colour == JpegColour::Grey) {
            *out++ = Luma(r, g, b);
        } else {
            *out++ = r;
            *out++ = g;
            *out++ = b;
        }
    }
}

bool OutputMatchesPicture(const jpeg_decompress_struct& decompress,
                          const JpegProperties& properties, bool ink) {
    int expectedComponents = ink ? 4 : properties.outputChannels;
    return static_cast<int>(decompress.output_width) == properties.outputWidth &&
           static_cast<int>(decompress.output_height) == properties.outputHeight &&
           decompress.output_components == expectedComponents;
}

bool DecodeRows(JpegDecoderState& state, const JpegProperties& properties) {
    jpeg_decompress_struct& decompress = state.decompress;
    bool ink = IsInkColourSpace(decompress.jpeg_color_space);
    if (ink) {
        decompress.out_color_space = JCS_CMYK;
    } else {
        decompress.out_color_space =
            properties.outputColour == JpegColour::Grey ? JCS_GRAYSCALE : JCS_RGB;
    }
    jpeg_start_decompress(&decompress);
    if (!OutputMatchesPicture(decompress, properties, ink)) {
        AbandonRead(state);
        return false;
    }
    JSAMPARRAY inkRow =
        ink ? (*decompress.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&decompress),
                                              JPOOL_IMAGE, decompress.output_width * 4, 1)
            : nullptr;
    const std::size_t rowBytes =
        static_cast<std::size_t>(properties.outputWidth) * properties.outputChannels;
    while (decompress.output_scanline < decompress.output_height) {
        std::size_t bottomUpRow = decompress.output_height - 1 - decompress.output_scanline;
        unsigned char* target = properties.outputPixels + bottomUpRow * rowBytes;
        JSAMPROW row = ink ? inkRow[0] : target;
        if (jpeg_read_scanlines(&decompress, &row, 1) != 1) {
            AbandonRead(state);
            return false;
        }
        if (ink) {
            ConvertInkRow(inkRow[0], target, properties.outputWidth, properties.outputColour,
                          decompress.saw_Adobe_marker);
        }
    }
    jpeg_finish_decompress(&decompress);
    CloseFile(state);
    return true;
}

bool OutputRequestValid(const JpegProperties& properties) {
    int channels = properties.outputColour == JpegColour::Grey ? 1 : 3;
    return properties.outputPixels != nullptr && properties.outputChannels == channels &&
           properties.outputWidth > 0 && properties.outputHeight > 0;
}

}  // namespace

bool JpegInitialise(JpegProperties& properties) {
    auto* state = new (std::nothrow) JpegDecoderState;
    if (state == nullptr) return false;
    state->decompress.err = jpeg_std_error(&state->errors.manager);
    state->errors.manager.error_exit = AbandonPicture;
    state->errors.manager.emit_message = EmitMessage;
    state->errors.manager.output_message = OutputNothing;
    if (setjmp(state->errors.escape) != 0) {
        jpeg_destroy_decompress(&state->decompress);
        delete state;
        return false;
    }
    jpeg_create_decompress(&state->decompress);
    properties.state = state;
    return true;
}

bool JpegRead(JpegProperties& properties, JpegReadMode mode) {
    JpegDecoderState* state = properties.state;
    if (state == nullptr) return false;
    if (mode == JpegReadMode::Parameters || !state->headerRead) {
        if (!ReadHeader(*state, properties.inputPath)) return false;
        properties.pictureWidth = static_cast<int>(state->decompress.image_width);
        properties.pictureHeight = static_cast<int>(state->decompress.image_height);
        properties.pictureChannels = state->decompress.num_components;
    }
    if (mode == JpegReadMode::Parameters) return true;
    if (!OutputRequestValid(properties)) {
        AbandonRead(*state);
        return false;
    }
    return Guarded(*state, [&] { return DecodeRows(*state, properties); });
}

void JpegRelease(JpegProperties& properties) {
    JpegDecoderState* state = properties.state;
    if (state == nullptr) return;
    CloseFile(*state);
    jpeg_destroy_decompress(&state->decompress);
    delete state;
    properties.state = nullptr;
}
