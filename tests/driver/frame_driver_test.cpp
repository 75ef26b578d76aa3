#include <cmath>
#include <vector>

#include "settings/install_folder.h"
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
    EXPECT_EQ(RandomState(), 1u);  // the opening draws no random numbers of the driver's

    RenderShowFrame();
    EXPECT_EQ(showState.showFrame, 5001);
    EXPECT_EQ(showState.spinAngle, 1);
    EXPECT_EQ(showState.sunTicks, 1);
    EXPECT_FLOAT_EQ(showState.slowAngle, 0.1f);
    EXPECT_FLOAT_EQ(showState.sunYaw, static_cast<float>(0.05 * std::cos(ShowRadians(1))));
}

TEST_F(FrameDriverTest, SunGrowsFor1011TicksAndItsPhaseEndsWithFrame6011) {
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

TEST_F(FrameDriverTest, SlowAngleWrapsToZeroOnceAboveFullCircle) {
    showState.showFrame = 5000;
    showState.slowAngle = 359.95f;
    RenderShowFrame();
    EXPECT_EQ(showState.slowAngle, 0.0f);
}

TEST_F(FrameDriverTest, FortyShortBangsEveryTwentyFifthFrameWhileTheSunGrows) {
    // Neither blur nor detail has a say in the bangs.
    settings.useblur = 1;
    showState.detailLevel = 0;
    showState.showFrame = 5000;
    RunUntilFrame(6500);
    ASSERT_EQ(effectCount, 40);

    SetRandomState(1);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(effects[i].frame, 5025 + 25 * i);
        const int n = Random(1000);
        const char* name = n > 750   ? "\\data\\bangshrt4.wav"
                           : n > 500 ? "\\data\\bangshrt3.wav"
                           : n > 250 ? "\\data\\bangshrt2.wav"
                                     : "\\data\\bangshrt1.wav";
        EXPECT_EQ(effects[i].path, DataPath(name)) << "bang " << i;
    }
    // The driver drew exactly one number per bang.
    EXPECT_EQ(RandomState(), [] {
        SetRandomState(1);
        for (int i = 0; i < 40; ++i) NextRandom();
        return RandomState();
    }());
    EXPECT_EQ(showState.lastBangStep, 200);
}

TEST_F(FrameDriverTest, NoBangAndNoRandomDrawWithSoundOff) {
    settings.psound = 0;
    showState.showFrame = 5000;
    RunUntilFrame(6200);
    EXPECT_EQ(effectCount, 0);
    EXPECT_EQ(RandomState(), 1u);
    EXPECT_EQ(showState.lastBangStep, 0);
}

// A show near the end of its cycle with every value away from its start.
void PrepareLastFrame(std::vector<float>& creditY, std::vector<Debris>& debris) {
    creditY.assign(kCreditLineCount, 123.0f);
    debris.assign(7, Debris{1, 2, 3, 0.5f, 42.0f, 10.0f, 20.0f});
    showState.creditY = creditY.data();
    showState.debris = debris.data();
    showState.debrisCount = static_cast<int>(debris.size());
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
    std::vector<float> creditY;
    std::vector<Debris> debris;
    PrepareLastFrame(creditY, debris);
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
    for (int line = 0; line < kCreditLineCount; ++line) EXPECT_EQ(creditY[line], -16.0f * line);
    for (const Debris& particle : debris) {
        EXPECT_EQ(particle.distance, 0.0f);
        EXPECT_EQ(particle.red, 1);
        EXPECT_EQ(particle.speed, 0.5f);
        EXPECT_EQ(particle.pitch, 10.0f);
        EXPECT_EQ(particle.roll, 20.0f);
    }
    // The last frame is a blast frame, so its counters stepped before the restart.
    EXPECT_FLOAT_EQ(showState.slowAngle, 12.6f);
    EXPECT_NE(showState.sunYaw, 0.0f);
    EXPECT_EQ(showState.ringRadius, 7.5f);
    EXPECT_EQ(showState.emblemAngle, 4321);
}

TEST_F(FrameDriverTest, RestartWithMatroxGoesBackToFrame4800) {
    settings.matrox = 1;
    std::vector<float> creditY;
    std::vector<Debris> debris;
    PrepareLastFrame(creditY, debris);
    RenderShowFrame();
    EXPECT_EQ(showState.showFrame, 4800);
    RunUntilFrame(5000, 200);
    EXPECT_EQ(showState.showFrame, 5000);
}

TEST_F(FrameDriverTest, RestartWithoutTablesTouchesNoTable) {
    showState.showFrame = 9499;
    RenderShowFrame();
    EXPECT_EQ(showState.showFrame, 0);
}

TEST_F(FrameDriverTest, WithoutRestartTheCounterStopsAt9501AndNothingFades) {
    settings.restart = 0;
    settings.useblur = 1;
    showState.showFrame = 9490;
    for (int i = 0; i < 30; ++i) RenderShowFrame();
    EXPECT_EQ(showState.showFrame, 9501);
    EXPECT_EQ(showState.spinAngle, 30);

    PaintWhite();
    RenderShowFrame();
    // Only the blur's darkening (96 of 255 at medium detail), no black fade.
    EXPECT_EQ(ChannelRange(ReadVirtualModePixels()).first, 159);
}

struct PictureSize {
    int width, height;
};

class CoveringOverlayTest : public ShowTest, public ::testing::WithParamInterface<PictureSize> {};

// With blur the colour buffer is never cleared, so a white picture shows any gap that the
// overlay or the fade leaves at the sides of a wide picture. The depth test is on with the
// function the sun scene sets, so the rectangles must also survive the near plane.
TEST_P(CoveringOverlayTest, LastFrameOfTheCycleIsBlackEdgeToEdge) {
    UseSize(GetParam().width, GetParam().height);
    settings.useblur = 1;
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    showState.showFrame = 9499;
    PaintWhite();
    RenderShowFrame();
    EXPECT_EQ(ChannelRange(ReadVirtualModePixels()), std::make_pair(0, 0));
}

TEST_P(CoveringOverlayTest, BlurDarkensTheWholePictureEvenly) {
    UseSize(GetParam().width, GetParam().height);
    settings.useblur = 1;
    showState.showFrame = 4999;
    PaintWhite();
    RenderShowFrame();  // the last opening frame still clears
    EXPECT_EQ(ChannelRange(ReadVirtualModePixels()), std::make_pair(0, 0));

    PaintWhite();
    RenderShowFrame();
    EXPECT_EQ(ChannelRange(ReadVirtualModePixels()), std::make_pair(159, 159));
}

TEST_P(CoveringOverlayTest, EndFadeDeepensFrameByFrame) {
    UseSize(GetParam().width, GetParam().height);
    settings.useblur = 1;
    showState.showFrame = 9249;  // the fade's alpha is (9250 - 9000) / 500 = one half
    PaintWhite();
    RenderShowFrame();
    const auto [low, high] = ChannelRange(ReadVirtualModePixels());
    EXPECT_EQ(low, high);
    EXPECT_NEAR(low, 159 / 2, 1);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CoveringOverlayTest,
                         ::testing::Values(PictureSize{640, 480}, PictureSize{1280, 720},
                                           PictureSize{2560, 600}));

}  // namespace
