#include "gl_fixture.h"

#include "gl_test_context.h"
#include "platform/offscreen_gl.h"

bool GlTest::MakeTestContextCurrent() {
    return TestGlContext() != nullptr && SetOffscreenGlContextCurrent(TestGlContext(), true);
}

void GlTest::ReleaseTestContext() {
    if (TestGlContext() != nullptr) SetOffscreenGlContextCurrent(TestGlContext(), false);
}

std::vector<GLubyte> ReadTexels(const Texture& texture, GLenum format, int components) {
    texture.Bind();
    GLint width = 0;
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<GLubyte> texels(static_cast<std::size_t>(width) * height * components);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

GLint LevelParameter(const Texture& texture, GLenum parameter) {
    texture.Bind();
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, parameter, &value);
    return value;
}

::testing::AssertionResult HoldsChecker(const Texture& texture) {
    if (texture.glName == 0) return ::testing::AssertionFailure() << "no GL texture";
    if (texture.width != 2 || texture.height != 2) {
        return ::testing::AssertionFailure()
               << "size reads " << texture.width << " x " << texture.height;
    }
    if (LevelParameter(texture, GL_TEXTURE_WIDTH) != 2 ||
        LevelParameter(texture, GL_TEXTURE_HEIGHT) != 2 ||
        LevelParameter(texture, GL_TEXTURE_LUMINANCE_SIZE) == 0) {
        return ::testing::AssertionFailure() << "level 0 is not a 2 x 2 luminance image";
    }
    // (0,0) black, (1,0) white on the first row; (0,1) white, (1,1) black on the second.
    const std::vector<GLubyte> expected = {0, 255, 255, 0};
    if (ReadTexels(texture, GL_LUMINANCE, 1) != expected) {
        return ::testing::AssertionFailure() << "texels are not the checker";
    }
    return ::testing::AssertionSuccess();
}
