#include "assets/texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstddef>
#include <cstdio>

#include "assets/jpeg_image.h"
#include "platform/gl_current.h"

namespace {

constexpr GLfloat kWrap = static_cast<GLfloat>(GL_REPEAT);
constexpr GLfloat kMagnifyFilter = static_cast<GLfloat>(GL_LINEAR);
constexpr GLfloat kMinifyFilter = static_cast<GLfloat>(GL_LINEAR_MIPMAP_NEAREST);

constexpr int kFallbackSide = 2;
constexpr GLubyte kFallbackChecker[kFallbackSide * kFallbackSide] = {0, 255, 255, 0};

constexpr int kGreyComponents = 1;
constexpr int kRgbComponents = 3;
constexpr int kRgbaComponents = 4;
constexpr int kBitsPerByte = 8;

int Components(const Image& image) {
    return (image.GetBitsPerPixel() + kBitsPerByte - 1) / kBitsPerByte;
}

GLenum PixelFormat(int components) {
    switch (components) {
        case kGreyComponents:
            return GL_LUMINANCE;
        case kRgbaComponents:
            return GL_RGBA;
        default:
            return GL_RGB;
    }
}

// Builds every mipmap level of the bound texture from a gap-free buffer. The unpack
// alignment is set to one byte for the upload only: odd widths of grey or RGB rows are not
// multiples of four bytes, and the rest of the program may expect GL's default.
// Without a current context there is nowhere to upload to, and GLU's mipmap builder reads
// the GL version string first, which is null then: it would crash (a preview whose host
// window vanished before the context could be made leaves a run with none).
void UploadMipmaps(int components, int width, int height, const void* pixels) {
    if (!GlContextCurrent()) return;
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, components, width, height, PixelFormat(components),
                      GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

int MaxTextureSide() {
    GLint side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
    return side;
}

// Interleaves R, G, B of the colour picture with the alpha picture's grey bytes. A grey
// colour picture gives its grey to all three colour bytes.
void CombineColourAndAlpha(const Image& colour, const Image& alpha, Image& combined) {
    const int colourStep = Components(colour);
    const int greenOffset = colourStep == kRgbComponents ? 1 : 0;
    const int blueOffset = colourStep == kRgbComponents ? 2 : 0;
    const unsigned char* in = colour.GetPixels();
    const unsigned char* opacity = alpha.GetPixels();
    unsigned char* out = combined.GetPixels();
    const std::size_t count = static_cast<std::size_t>(colour.GetWidth()) * colour.GetHeight();
    for (std::size_t i = 0; i < count; ++i, in += colourStep, out += kRgbaComponents) {
        out[0] = in[0];
        out[1] = in[greenOffset];
        out[2] = in[blueOffset];
        out[3] = opacity[i];
    }
}

}  // namespace

bool Texture::Create(const char* textureName) {
    Delete();
    std::snprintf(name, sizeof name, "%s", textureName != nullptr ? textureName : "");
    GLuint generated = 0;
    glGenTextures(1, &generated);
    glName = generated + 1;
    glBindTexture(GL_TEXTURE_2D, glName - 1);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, kWrap);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, kWrap);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, kMagnifyFilter);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, kMinifyFilter);
    return true;
}

void Texture::Delete() {
    if (glName == 0) return;
    if (GlContextCurrent()) {
        GLuint held = glName - 1;
        glDeleteTextures(1, &held);
    }
    glName = 0;
}

void Texture::Bind() const {
    glBindTexture(GL_TEXTURE_2D, glName != 0 ? glName - 1 : 0);
}

void Texture::MakeFallback() {
    width = kFallbackSide;
    height = kFallbackSide;
    UploadMipmaps(kGreyComponents, width, height, kFallbackChecker);
}

bool Texture::Load(const char* colourPath, const char* alphaPath) {
    if (colourPath == nullptr) return false;
    Create(colourPath);
    const int maxSide = MaxTextureSide();
    JpegImage colour;
    if (!colour.Load(colourPath, false, maxSide)) {
        MakeFallback();
        return false;
    }
    if (alphaPath == nullptr) {
        UploadMipmaps(Components(colour), colour.GetWidth(), colour.GetHeight(),
                      colour.GetPixels());
        return true;
    }
    JpegImage alpha;
    Image combined;
    if (!alpha.Load(alphaPath, true, maxSide) || alpha.GetWidth() != colour.GetWidth() ||
        alpha.GetHeight() != colour.GetHeight() ||
        !combined.Allocate(colour.GetWidth(), colour.GetHeight(), kRgbaComponents * kBitsPerByte)) {
        MakeFallback();
        return false;
    }
    CombineColourAndAlpha(colour, alpha, combined);
    UploadMipmaps(kRgbaComponents, combined.GetWidth(), combined.GetHeight(), combined.GetPixels());
    return true;
}
