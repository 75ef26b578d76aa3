#include "assets/textures.h"

#include "gl_fixture.h"

namespace {

using ShowTexturesTest = GlTest;

// The eight objects live until process exit, long after the context that held their GL
// textures is gone; their destructors then run with no context current and must not call GL.
// This test leaves them loaded so that this process's exit exercises exactly that.
TEST_F(ShowTexturesTest, OutliveTheirContext) {
    Texture* const all[] = {&texStar, &texFire, &texStelle, &texStelle2,
                            &texEnv,  &texSun,  &texFont,   &texFront};
    const std::string picture = WriteJpeg(scratch.File("picture.jpg"), QuadrantPicture(16, 16));
    for (Texture* texture : all) {
        EXPECT_EQ(texture->glName, 0u);
        EXPECT_TRUE(texture->Load(picture.c_str(), nullptr));
    }
    ReleaseTestContext();
    for (Texture* texture : all) EXPECT_NE(texture->glName, 0u);
}

}  // namespace
