// JPEG decoding from a named file into a caller-given pixel buffer.
//
// The contract is that of a small decoding library driven through one properties record:
// initialise the record, read the picture's parameters or the whole picture, release it.
//   - A parameters read fills pictureWidth, pictureHeight and pictureChannels (the number of
//     components in the file: 1 grey, 3 colour, 4 CMYK or YCCK).
//   - A whole-picture read decodes into outputPixels, which the caller allocated as
//     outputWidth x outputHeight x outputChannels bytes with no gap between rows: one grey
//     byte per pixel (JpegColour::Grey, 1 channel) or R, G, B bytes (JpegColour::Rgb, 3
//     channels), whatever the file's own colour space. The read fails without writing
//     beyond the buffer when the picture does not have the output size.
//   - Rows are handed over bottom-up: the first buffer row is the picture's bottom row, so a
//     buffer uploaded as it lies puts the bottom of the picture at texture row t = 0.
//   - Every read gives false for a missing, empty, truncated or damaged file, or one that is
//     not JPEG; it never prints and never ends the process. Data that the decoder would only
//     warn about (premature end, corrupt entropy data) counts as damage, so a truncated file
//     is a failure rather than a half-grey picture.
//   - After a successful initialise, release must be called exactly once.
#pragma once

enum class JpegColour { Grey, Rgb };
enum class JpegReadMode { Parameters, WholePicture };

struct JpegDecoderState;

struct JpegProperties {
    unsigned char* outputPixels = nullptr;
    int outputWidth = 0;
    int outputHeight = 0;
    int outputChannels = 0;
    JpegColour outputColour = JpegColour::Rgb;
    const char* inputPath = nullptr;
    int pictureWidth = 0;
    int pictureHeight = 0;
    int pictureChannels = 0;
    JpegDecoderState* state = nullptr;
};

bool JpegInitialise(JpegProperties& properties);
bool JpegRead(JpegProperties& properties, JpegReadMode mode);
void JpegRelease(JpegProperties& properties);
