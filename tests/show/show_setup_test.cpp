#include "show/show_setup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "assets/textures.h"
#include "base/run_flags.h"
#include "platform/audio_engine.h"
#include "platform_spies.h"
#include "settings/install_folder.h"
#include "settings/settings.h"
#include "show/credits_text.h"
#include "show/random.h"
#include "show/show_state.h"
#include "show_piece_test.h"
#include "show_test_state.h"
#include "test_allocation.h"

namespace {

class ShowSetupTest : public ShowPieceTest {
  protected:
    void TearDown() override { ShutdownShow(); }
};

TEST_F(ShowSetupTest, FirstDrawsOfAFreshProcessGoToRingParticleZero) {
    SetupShow(0);
    ASSERT_TRUE(showReady);
    const RingParticle& p = showState.ringParticles[0];
    EXPECT_EQ(p.red, 169);
    EXPECT_EQ(p.green, 35);
    EXPECT_EQ(p.blue, 30);
    EXPECT_FLOAT_EQ(p.angle, 40.0f);
    EXPECT_FLOAT_EQ(p.speed, 0.009f);
    EXPECT_FLOAT_EQ(p.distance, 0.0f);
}

// Every table gets its draws in order: 5 per ring particle, 6 per comet and per debris, 2 per
// ray. The pinned states catch a missing, extra or reordered draw.
TEST_F(ShowSetupTest, CountsAndGeneratorStateByDetailLevel) {
    struct Case {
        std::uint32_t part;
        int level, debris, arms, comets;
        std::uint32_t stateAfter;
    };
    const Case cases[] = {{kPartLow, 0, 150, 180, 150, 0x0a9edb09u},
                          {kPartMedium, 1, 500, 360, 500, 0x85d31ccdu},
                          {kPartHigh, 2, 850, 480, 850, 0xe3ac817du},
                          {4242, 2, 850, 480, 850, 0xe3ac817du}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.part);
        ASSERT_TRUE(SetUpShowAtDetail(c.part));
        EXPECT_EQ(showState.detailLevel, c.level);
        EXPECT_EQ(showState.debrisCount, c.debris);
        EXPECT_EQ(showState.ringArmCount, c.arms);
        EXPECT_EQ(showState.cometCount, c.comets);
        EXPECT_EQ(RandomState(), c.stateAfter);
    }
}

TEST_F(ShowSetupTest, StartingValuesStayInTheirRanges) {
    settings.part = kPartLow;
    SetupShow(0);
    for (int i = 0; i < showState.cometCount; ++i) {
        const Comet& c = showState.comets[i];
        ASSERT_GE(c.red, 16);
        ASSERT_LT(c.red, 32);
        ASSERT_LT(c.spread, 5.0f);
        // Comets past the middle of the table rise from below.
        EXPECT_EQ(c.direction, i > 75 ? 1 : 0);
        EXPECT_FLOAT_EQ(c.position, i > 75 ? -7.0f : 7.0f);
    }
    for (int i = 0; i < kRayCount; ++i) {
        ASSERT_LT(showState.rayDirs[i].xRotation, 360.0f);
        ASSERT_LT(showState.rayDirs[i].yRotation, 360.0f);
    }
}

TEST_F(ShowSetupTest, StartFrameMatroxAndPreview) {
    SetupShow(123);
    EXPECT_EQ(showState.showFrame, 123);
    ShutdownShow();

    ResetShowForTest();
    settings.matrox = 1;
    SetupShow(0);
    EXPECT_EQ(showState.showFrame, 4800);
    ShutdownShow();

    // Preview starts at frame 0 in medium detail whatever the settings say, and switches
    // the blur, the starfield and every sound off for the run.
    ResetShowForTest();
    previewFlag = 1;
    settings.matrox = 1;
    settings.part = kPartHigh;
    settings.useblur = settings.starfield = settings.psound = 1;
    settings.pmusic = settings.pmp3 = settings.pcd = 1;
    SetupShow(77);
    EXPECT_EQ(showState.showFrame, 0);
    EXPECT_EQ(showState.detailLevel, 1);
    EXPECT_EQ(showState.ringArmCount, 360);
    EXPECT_EQ(settings.useblur + settings.starfield + settings.psound, 0u);
    EXPECT_EQ(settings.pmusic + settings.pmp3 + settings.pcd, 0u);
    EXPECT_EQ(settings.matrox, 1u);
}

int audioCalls = 0;

TEST_F(ShowSetupTest, NoAudioCallInPreviewOrDuringTheHardwareTest) {
    struct Run {
        const char* name;
        int preview, hardware;
    };
    SetAudioEngineTrace([](const char*) { ++audioCalls; });
    for (const Run& run : {Run{"preview", 1, 0}, Run{"hardware test", 0, 1}}) {
        ResetShowForTest();
        previewFlag = run.preview;
        hardwareTest = static_cast<std::uint8_t>(run.hardware);
        settings.pmusic = settings.pmp3 = settings.pcd = settings.psound = 1;
        audioCalls = 0;
        SetupShow(0);
        ShutdownShow();
        EXPECT_EQ(audioCalls, 0) << run.name;
    }
}

TEST_F(ShowSetupTest, GlStateQuadricTexturesAndBangPath) {
    SetupShow(0);
    for (GLenum cap : {GL_TEXTURE_2D, GL_LIGHT0, GL_LIGHTING, GL_COLOR_MATERIAL, GL_BLEND}) {
        EXPECT_TRUE(glIsEnabled(cap)) << cap;
    }
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    GLint source = 0, destination = 0, shade = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE);
    EXPECT_EQ(shade, GL_SMOOTH);
    GLfloat clear[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[3], 0.5f);
    ASSERT_NE(InstallFolder(), nullptr);
    EXPECT_EQ(bangPath, std::string(InstallFolder()) + "/data/bang.wav");
    // A file that fails to load still leaves a texture to bind (the checker).
    for (const Texture* t :
         {&texStar, &texFire, &texStelle, &texStelle2, &texEnv, &texSun, &texFont, &texFront}) {
        EXPECT_NE(t->glName, 0u);
    }
    ShutdownShow();
    EXPECT_FALSE(showReady);
    EXPECT_EQ(texFront.glName, 0u);
}

// The set-up stacks the credits 16 units apart below the screen; the text is the credits
// table's, which the bitmap font must be able to draw (codes 32 to 126, no empty line), with
// each underline as long as the heading above it.
TEST_F(ShowSetupTest, CreditsHeightsAndLines) {
    SetupShow(0);
    for (int i = 0; i < kCreditLineCount; ++i) {
        EXPECT_FLOAT_EQ(showState.creditY[i], -16.0f * i);
        ASSERT_EQ(showState.creditLines[i], kCreditsText[i]);
        const std::string line = showState.creditLines[i];
        EXPECT_FALSE(line.empty()) << i;
        for (char c : line) EXPECT_TRUE(c >= 32 && c < 127) << i;
        if (i > 0 && line.find_first_not_of('-') == std::string::npos) {
            EXPECT_EQ(line.size(), std::strlen(showState.creditLines[i - 1])) << i;
        }
    }
}

// A set-up that fails leaves no show, no tables and no textures, draws nothing from the
// generator and shuts down safely; the process's next set-up works again.
TEST_F(ShowSetupTest, FailedSetupLeavesNothingAndTheNextOneWorks) {
    const struct {
        const char* what;
        void (*fail)();
        int startFrame;
    } cases[] = {{"no install folder", [] { installFolderFound = false; }, 500},
                 {"failed table allocation", FailNextNothrowArrayAllocation, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetShowForTest();
        c.fail();
        SetupShow(c.startFrame);
        EXPECT_FALSE(showReady);
        EXPECT_EQ(showState.showFrame, 0);
        EXPECT_EQ(showState.creditLines, nullptr);
        EXPECT_EQ(showState.ringParticles, nullptr);
        EXPECT_EQ(showState.rayDirs, nullptr);
        EXPECT_EQ(RandomState(), 1u);
        EXPECT_EQ(texStar.glName, 0u);
        ShutdownShow();
        ShutdownShow();
        EXPECT_EQ(texStar.glName, 0u);

        ResetShowForTest();
        SetupShow(0);
        ASSERT_TRUE(showReady);
        EXPECT_EQ(showState.ringParticles[0].red, 169);
        ShutdownShow();
    }
}

}  // namespace
