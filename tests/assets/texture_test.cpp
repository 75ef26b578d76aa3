#include "assets/texture.h"

#include <GL/gl.h>

#include <cstdlib>
#include <string>

#include "gl_fixture.h"

namespace {

constexpr int kTolerance = 6;

::testing::AssertionResult TexelNear(const std::vector<GLubyte>& rgba, int width, int s, int t,
                                     Colour expected) {
    const GLubyte* texel = &rgba[(t * width + s) * 4];
    if (std::abs(texel[0] - expected.r) <= kTolerance &&
        std::abs(texel[1] - expected.g) <= kTolerance &&
        std::abs(texel[2] - expected.b) <= kTolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "texel (" << s << ", " << t << ") is " << int(texel[0])
                                         << ", " << int(texel[1]) << ", " << int(texel[2]);
}

using TextureTest = GlTest;

// Loads `picture`, written to `folder` as `name`, alone into `texture`.
bool LoadPicture(Texture& texture, const TempFolder& folder, const char* name,
                 const TestPicture& picture) {
    return texture.Load(WriteJpeg(folder.File(name), picture).c_str(), nullptr);
}

TEST_F(TextureTest, ColourPictureBecomesAnUprightRgbTexture) {
    Texture texture;
    ASSERT_TRUE(LoadPicture(texture, scratch, "quadrants.jpg", QuadrantPicture(32, 16)));
    EXPECT_EQ(LevelParameter(texture, GL_TEXTURE_WIDTH), 32);
    EXPECT_EQ(LevelParameter(texture, GL_TEXTURE_HEIGHT), 16);
    EXPECT_EQ(LevelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT), 3);
    EXPECT_EQ(LevelParameter(texture, GL_TEXTURE_ALPHA_SIZE), 0);
    // Row t = 0 is the bottom of the picture: blue then white; the top row is red then green.
    std::vector<GLubyte> texels = ReadTexels(texture, GL_RGBA, 4);
    EXPECT_TRUE(TexelNear(texels, 32, 0, 0, {0, 0, 255}));
    EXPECT_TRUE(TexelNear(texels, 32, 31, 0, {255, 255, 255}));
    EXPECT_TRUE(TexelNear(texels, 32, 0, 15, {255, 0, 0}));
    EXPECT_TRUE(TexelNear(texels, 32, 31, 15, {0, 255, 0}));
    // A successful load leaves the checker size unset.
    EXPECT_EQ(texture.width, 0);
}

TEST_F(TextureTest, CarriesTheFixedParametersAndEveryMipmapLevel) {
    Texture texture;
    ASSERT_TRUE(LoadPicture(texture, scratch, "solid.jpg", SolidPicture(8, 4, {10, 20, 30})));
    const std::pair<GLenum, GLint> parameters[] = {
        {GL_TEXTURE_WRAP_S, GL_REPEAT},
        {GL_TEXTURE_WRAP_T, GL_REPEAT},
        {GL_TEXTURE_MAG_FILTER, GL_LINEAR},
        {GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST}};
    for (const auto& [parameter, expected] : parameters) {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
        EXPECT_EQ(value, expected) << parameter;
    }
    GLint lastWidth = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &lastWidth);
    EXPECT_EQ(lastWidth, 1);
}

TEST_F(TextureTest, GreyPictureBecomesALuminanceTexture) {
    Texture texture;
    ASSERT_TRUE(LoadPicture(texture, scratch, "grey.jpg", GreyStripes(32, 8)));
    EXPECT_EQ(LevelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT), 1);
    EXPECT_GT(LevelParameter(texture, GL_TEXTURE_LUMINANCE_SIZE), 0);
    EXPECT_EQ(LevelParameter(texture, GL_TEXTURE_RED_SIZE), 0);
    std::vector<GLubyte> texels = ReadTexels(texture, GL_LUMINANCE, 1);
    EXPECT_NEAR(texels[31], 192, kTolerance);
}

TEST_F(TextureTest, OddWidthsUploadWithoutRowGapsAndKeepTheUnpackAlignment) {
    // 3 RGB pixels are 9 bytes a row: with GL's default alignment of 4 the rows would slant.
    Texture texture;
    ASSERT_TRUE(LoadPicture(texture, scratch, "odd.jpg", SolidPicture(3, 7, {255, 0, 255})));
    std::vector<GLubyte> texels = ReadTexels(texture, GL_RGBA, 4);
    int width = LevelParameter(texture, GL_TEXTURE_WIDTH);
    int height = LevelParameter(texture, GL_TEXTURE_HEIGHT);
    for (int t = 0; t < height; ++t) {
        for (int s = 0; s < width; ++s) EXPECT_TRUE(TexelNear(texels, width, s, t, {255, 0, 255}));
    }
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
}

TEST_F(TextureTest, ColourAndAlphaPairGivesRgbaWithTheGreyAsAlpha) {
    const std::string colourPath = WriteJpeg(scratch.File("colour.jpg"), QuadrantPicture(32, 8));
    const std::string alphaPath = WriteJpeg(scratch.File("alpha.jpg"), GreyStripes(32, 8));
    const std::string colourAlphaPath =
        WriteJpeg(scratch.File("alpha-in-colour.jpg"), SolidPicture(32, 8, {128, 128, 128}));

    Texture texture;
    ASSERT_TRUE(texture.Load(colourPath.c_str(), alphaPath.c_str()));
    EXPECT_EQ(LevelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT), 4);
    std::vector<GLubyte> texels = ReadTexels(texture, GL_RGBA, 4);
    EXPECT_TRUE(TexelNear(texels, 32, 0, 0, {0, 0, 255}));
    for (int s : {0, 8, 16, 24}) EXPECT_NEAR(texels[s * 4 + 3], s * 8, kTolerance) << s;

    // An alpha file that is itself a colour JPEG is read as grey.
    ASSERT_TRUE(texture.Load(colourPath.c_str(), colourAlphaPath.c_str()));
    EXPECT_NEAR(ReadTexels(texture, GL_RGBA, 4)[3], 128, kTolerance);

    // A grey colour file gives its grey to red, green and blue (and is never read as RGB).
    ASSERT_TRUE(texture.Load(alphaPath.c_str(), colourAlphaPath.c_str()));
    texels = ReadTexels(texture, GL_RGBA, 4);
    EXPECT_TRUE(TexelNear(texels, 32, 31, 7, {192, 192, 192}));
}

TEST_F(TextureTest, EveryFailureLeavesABindableChecker) {
    const std::string colourPath = WriteJpeg(scratch.File("colour.jpg"), QuadrantPicture(32, 8));
    const std::string wider = WriteJpeg(scratch.File("wider.jpg"), GreyStripes(33, 8));
    const std::string taller = WriteJpeg(scratch.File("taller.jpg"), GreyStripes(32, 9));
    std::string damaged = scratch.File("damaged.jpg");
    std::vector<std::uint8_t> bytes = EncodeJpeg(DetailedPicture(32, 32));
    bytes.resize(bytes.size() / 2);
    WriteFileBytes(damaged, bytes);
    std::string oversized = scratch.File("oversized.jpg");
    WriteFileBytes(oversized, WithFrameSize(EncodeJpeg(SolidPicture(8, 8, {1, 2, 3})), 65000, 8));
    std::string missing = scratch.File("missing.jpg");

    const std::pair<std::string, std::string> loads[] = {
        {missing, ""},        {damaged, ""},         {oversized, ""},       {colourPath, wider},
        {colourPath, taller}, {colourPath, missing}, {colourPath, damaged}, {missing, colourPath}};
    for (const auto& [colour, alpha] : loads) {
        Texture texture;
        EXPECT_FALSE(texture.Load(colour.c_str(), alpha.empty() ? nullptr : alpha.c_str()))
            << colour << " + " << alpha;
        EXPECT_TRUE(HoldsChecker(texture)) << colour << " + " << alpha;
    }
}

TEST_F(TextureTest, NoColourPathMakesNothing) {
    Texture texture;
    EXPECT_FALSE(texture.Load(nullptr, nullptr));
    EXPECT_EQ(texture.glName, 0u);
    // Binding an empty texture binds none rather than making up GL name 0xFFFFFFFF.
    texture.Bind();
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
    ASSERT_FALSE(texture.Load(scratch.File("missing.jpg").c_str(), nullptr));
    const std::uint32_t held = texture.glName;
    EXPECT_FALSE(texture.Load(nullptr, nullptr));
    EXPECT_EQ(texture.glName, held);
}

TEST_F(TextureTest, LoadingTwiceLeavesOneGlTexture) {
    Texture texture;
    texture.Load(scratch.File("missing.jpg").c_str(), nullptr);
    const GLuint first = texture.glName - 1;
    ASSERT_TRUE(glIsTexture(first));
    texture.Load(scratch.File("missing.jpg").c_str(), nullptr);
    const GLuint second = texture.glName - 1;
    EXPECT_TRUE(glIsTexture(second));
    // A driver may hand the freed name out again (Mesa 25 does); a live name never is, so
    // getting it back shows it was freed.
    if (second != first) {
        EXPECT_FALSE(glIsTexture(first));
    }
}

TEST_F(TextureTest, DeleteTwiceDeletesOnce) {
    Texture first;
    first.Delete();  // empty: nothing happens
    first.Load(scratch.File("missing.jpg").c_str(), nullptr);
    first.Delete();
    EXPECT_EQ(first.glName, 0u);
    // The freed name may go to the next texture, which a second Delete must not touch.
    Texture second;
    second.Load(scratch.File("missing.jpg").c_str(), nullptr);
    first.Delete();
    EXPECT_TRUE(glIsTexture(second.glName - 1));
}

TEST_F(TextureTest, LongPathIsStoredTruncated) {
    std::string path = "/" + std::string(200, 'n') + ".jpg";
    Texture texture;
    EXPECT_FALSE(texture.Load(path.c_str(), nullptr));
    EXPECT_EQ(std::string(texture.name), path.substr(0, Texture::kNameSize - 1));
}

TEST_F(TextureTest, DeleteAfterTheContextIsGoneOnlyForgetsTheName) {
    Texture texture;
    texture.Load(scratch.File("missing.jpg").c_str(), nullptr);
    ReleaseTestContext();
    texture.Delete();
    EXPECT_EQ(texture.glName, 0u);
}

TEST_F(TextureTest, LoadWithoutAContextFailsInsteadOfCrashing) {
    ReleaseTestContext();
    Texture texture;
    EXPECT_FALSE(texture.Load(scratch.File("missing.jpg").c_str(), nullptr));
    const std::string picture = WriteJpeg(scratch.File("picture.jpg"), QuadrantPicture(8, 8));
    EXPECT_FALSE(texture.Load(picture.c_str(), nullptr));
}

}  // namespace
