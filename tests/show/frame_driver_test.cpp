#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "show/frame_driver.h"
#include "show/frame_overlays.h"
#include "show/show_math.h"
#include "show_fixture.h"

namespace {

class FrameDriverTest : public ShowTest {};

TEST_F(FrameDriverTest, SceneCountersWaitForFrame5000AndThenStepOncePerFrame) {
    RunUntilFrame(5000);
    EXPECT_EQ(showState.spinAngle, 0);
    EXPECT_EQ(showState.sunTicks, 0);
    EXPECT_EQ(showState.slowAngle, 0.0f);
    EXPECT_EQ(showState.sunYaw, 0.0f);
    EXPECT_TRUE(showState.sunPhase);

    RenderShowFrame();
    EXPECT_EQ(showState.showFrame, 5001);
    EXPECT_EQ(showState.spinAngle, 1);
    EXPECT_EQ(showState.sunTicks, 1);
    EXPECT_FLOAT_EQ(showState.slowAngle, 0.1f);
    EXPECT_FLOAT_EQ(showState.sunYaw, static_cast<float>(0.05 * std::cos(ShowRadians(1))));
}

TEST_F(FrameDriverTest, SunGrowsFor1011TicksAndItsPhaseEndsWithFrame6011) {
    UseFewParticles();
    showState.showFrame = 5000;
    RunUntilFrame(6011);
    EXPECT_EQ(showState.sunTicks, 1011);
    EXPECT_TRUE(showState.sunPhase);
    RenderShowFrame();
    EXPECT_EQ(showState.sunTicks, 1011);
    EXPECT_FALSE(showState.sunPhase);
    RunUntilFrame(6400);
    EXPECT_EQ(showState.sunTicks, 1011);
    EXPECT_FALSE(showState.sunPhase);
    EXPECT_EQ(showState.spinAngle, (6400 - 5000) % 360);
}

// The sun's swing is added in double and the sum rounded once to float; rounding the swing to
// float first lands one float step away here (0.54987824 instead of 0.54987818). The slow
// angle wraps to zero once above a full circle.
TEST_F(FrameDriverTest, SunYawRoundsOnceAndSlowAngleWraps) {
    showState.showFrame = 5000;
    showState.spinAngle = 3;
    showState.sunYaw = 0.5f;
    showState.slowAngle = 359.95f;
    RenderShowFrame();
    EXPECT_EQ(showState.sunYaw, static_cast<float>(0.5 + 0.05 * std::cos(ShowRadians(4))));
    EXPECT_EQ(showState.slowAngle, 0.0f);
}

// The number a draw returned, from the generator's state right after it.
int LastDraw(std::uint32_t state, int n) {
    return static_cast<int>((state >> 16) & 0x7FFF) % n;
}

TEST_F(FrameDriverTest, FortyShortBangsEveryTwentyFifthFrameWhileTheSunGrows) {
    // Neither blur nor detail has a say in the bangs.
    settings.useblur = 1;
    showState.detailLevel = 0;
    showState.showFrame = 5000;
    RunUntilFrame(6012);  // the blast scene, with its own bang, starts at 6012
    ASSERT_EQ(effectCount, 40);

    std::set<std::string> files;
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(effects[i].frame, 5025 + 25 * i);
        const int n = LastDraw(effects[i].random, 1000);
        const char* name = n > 750   ? "\\data\\bangshrt4.wav"
                           : n > 500 ? "\\data\\bangshrt3.wav"
                           : n > 250 ? "\\data\\bangshrt2.wav"
                                     : "\\data\\bangshrt1.wav";
        EXPECT_EQ(effects[i].path, DataPath(name)) << "bang " << i << ", n " << n;
        files.insert(name);
    }
    EXPECT_GT(files.size(), 1u);
    EXPECT_EQ(showState.lastBangStep, 200);
}

TEST(ShortBangChoice, EdgesOfTheFourShares) {
    const std::pair<int, int> drawAndBang[] = {{0, 0},   {250, 0}, {251, 1}, {500, 1},
                                               {501, 2}, {750, 2}, {751, 3}, {999, 3}};
    for (const auto& [draw, bang] : drawAndBang) EXPECT_EQ(ShortBangIndex(draw), bang) << draw;
}

TEST_F(FrameDriverTest, NoBangWithSoundOff) {
    UseFewParticles();
    settings.psound = 0;
    showState.showFrame = 5000;
    RunUntilFrame(6400);
    EXPECT_EQ(effectCount, 0);
    EXPECT_EQ(showState.lastBangStep, 0);
}

// The last frame of a cycle, with every value away from its start.
void PrepareLastFrame() {
    std::fill_n(showState.creditY, kCreditLineCount, 123.0f);
    std::fill_n(showState.debris, showState.debrisCount,
                Debris{1, 2, 3, 0.5f, 42.0f, 10.0f, 20.0f});
    showState.showFrame = 9499;
    showState.sunPhase = false;
    showState.sunTicks = 1011;
    showState.lastBangStep = 200;
    showState.spinAngle = 99;
    showState.slowAngle = 12.5f;
    showState.sunYaw = 3.25f;
    showState.ringRadius = 7.5f;
    showState.ringAlpha = 17;
    showState.burstTimer = 88;
    showState.blastCountdown = 0;
    showState.flashStep = 13;
    showState.emblemAngle = 4321;
}

TEST_F(FrameDriverTest, RestartResetsTheCycleCountersAndKeepsTheRest) {
    PrepareLastFrame();
    const float ringRadius = showState.ringRadius;
    const int emblemAngle = showState.emblemAngle;
    settings.psound = 0;  // no burst may touch the debris colours
    RenderShowFrame();

    EXPECT_EQ(showState.showFrame, 0);
    EXPECT_TRUE(showState.sunPhase);
    EXPECT_EQ(showState.sunTicks, 0);
    EXPECT_EQ(showState.lastBangStep, 0);
    EXPECT_EQ(showState.spinAngle, 0);
    EXPECT_EQ(showState.ringAlpha, 255);
    EXPECT_EQ(showState.burstTimer, 0);
    EXPECT_EQ(showState.blastCountdown, 70);
    EXPECT_EQ(showState.flashStep, 0);
    for (int line = 0; line < kCreditLineCount; ++line) {
        EXPECT_EQ(showState.creditY[line], -16.0f * line);
    }
    for (int i = 0; i < showState.debrisCount; ++i) {
        EXPECT_EQ(showState.debris[i].distance, 0.0f);
        EXPECT_EQ(showState.debris[i].red, 1);
        EXPECT_EQ(showState.debris[i].pitch, 10.0f);
    }
    // The last frame is a blast frame, so its counters stepped before the restart; the blast
    // scene may move the ring, but the restart leaves it where the scene put it.
    EXPECT_FLOAT_EQ(showState.slowAngle, 12.6f);
    EXPECT_NE(showState.sunYaw, 0.0f);
    EXPECT_GE(showState.ringRadius, ringRadius);
    EXPECT_GE(showState.emblemAngle, emblemAngle);
}

TEST_F(FrameDriverTest, RestartWithMatroxGoesBackToFrame4800) {
    settings.matrox = 1;
    PrepareLastFrame();
    RenderShowFrame();
    EXPECT_EQ(showState.showFrame, 4800);
    RunUntilFrame(5000, 200);
    EXPECT_EQ(showState.showFrame, 5000);
}

TEST_F(FrameDriverTest, WithoutRestartTheCounterStopsAt9501AndNothingFades) {
    settings.restart = 0;
    settings.useblur = 1;
    showState.showFrame = 9490;
    showState.sunPhase = false;
    for (int i = 0; i < 30; ++i) RenderShowFrame();
    EXPECT_EQ(showState.showFrame, 9501);

    PaintWhite();
    RenderShowFrame();
    // Only the blur's darkening (96 of 255 at medium detail) and whatever the blast adds.
    EXPECT_GE(ChannelRange(ReadVirtualModePixels()).second, 159);
}

TEST_F(FrameDriverTest, DrawsNothingAndStandsStillWhileTheShowIsNotSetUp) {
    showReady = false;
    showState.showFrame = 9499;
    PaintWhite();
    RenderShowFrame();
    showReady = true;
    EXPECT_EQ(showState.showFrame, 9499);
    EXPECT_EQ(ChannelRange(ReadVirtualModePixels()), std::make_pair(255, 255));
}

struct PictureSize {
    int width, height;
};

class CoveringOverlayTest : public ShowTest, public ::testing::WithParamInterface<PictureSize> {
  protected:
    void SetUp() override {
        ShowTest::SetUp();
        if (!IsSkipped()) UseSize(GetParam().width, GetParam().height);
    }
};

// With blur the colour buffer is never cleared, so a white picture shows any gap that the
// fade leaves at the sides of a wide picture. The depth test is on with the function the sun
// scene sets, so the fade must also survive the near plane.
TEST_P(CoveringOverlayTest, LastFrameOfTheCycleIsBlackEdgeToEdge) {
    settings.useblur = 1;
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    showState.showFrame = 9499;
    showState.sunPhase = false;
    PaintWhite();
    RenderShowFrame();
    EXPECT_EQ(ChannelRange(ReadVirtualModePixels()), std::make_pair(0, 0));
}

TEST_P(CoveringOverlayTest, BlurDarkensTheWholePictureEvenlyByDetail) {
    const int expected[] = {255 - 64, 255 - 96, 255 - 128};
    for (int detail = 0; detail <= 2; ++detail) {
        PaintWhite();
        DrawBlurOverlay(detail);
        EXPECT_EQ(ChannelRange(ReadVirtualModePixels()),
                  std::make_pair(expected[detail], expected[detail]))
            << "detail " << detail;
    }
    GLint source = 0;
    glGetIntegerv(GL_BLEND_DST, &source);
    EXPECT_EQ(source, GL_ONE);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_P(CoveringOverlayTest, EndFadeDarkensTheWholePictureByItsAlpha) {
    PaintWhite();
    DrawEndFade(0.5f);
    const auto [low, high] = ChannelRange(ReadVirtualModePixels());
    EXPECT_EQ(low, high);
    EXPECT_NEAR(low, 128, 1);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CoveringOverlayTest,
                         ::testing::Values(PictureSize{640, 480}, PictureSize{1280, 720},
                                           PictureSize{2560, 600}),
                         [](const ::testing::TestParamInfo<PictureSize>& info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

}  // namespace
