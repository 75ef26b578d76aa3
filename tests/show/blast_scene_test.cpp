#include <algorithm>
#include <vector>

#include "show/show_setup.h"
#include "show_fixture.h"

namespace {

class BlastSceneTest : public ShowTest {
  protected:
    // The state at the start of the first blast frame of a cycle.
    static void StartBlast() {
        UseFewParticles();
        showState.showFrame = 6012;
        showState.sunPhase = false;
        showState.sunTicks = 1011;
        showState.lastBangStep = 200;
        showState.spinAngle = 1012 % 360;
    }

    static std::vector<int> LongBangFrames() {
        std::vector<int> frames;
        for (int i = 0; i < std::min(effectCount, kMaxEffects); ++i) {
            if (effects[i].path == bangPath) frames.push_back(effects[i].frame);
        }
        return frames;
    }
};

// The long bang sounds once on the first blast frame and once with every burst, 251 frames
// apart; with sound off the blast is silent and draws the same.
TEST_F(BlastSceneTest, LongBangOnTheFirstBlastFrameAndWithEveryBurst) {
    StartBlast();
    RunUntilFrame(6765);
    EXPECT_EQ(LongBangFrames(), (std::vector<int>{6012, 6262, 6513, 6764}));
    EXPECT_EQ(effectCount, 4);
    const std::uint32_t heard = RandomState();

    RestoreSetup();
    settings.psound = 0;
    effectCount = 0;
    StartBlast();
    RunUntilFrame(6765);
    EXPECT_EQ(effectCount, 0);
    EXPECT_EQ(RandomState(), heard);
}

// The caption is drawn only with `text` on, and not with `matrox` on outside the preview;
// it draws no random numbers, so the rest of the frame is the same either way.
TEST_F(BlastSceneTest, CaptionOnlyWithTextOnAndWithoutMatrox) {
    UseSize(320, 240);
    settings.useblur = 0;
    struct Case {
        std::uint32_t text, matrox;
    };
    std::vector<std::vector<std::uint8_t>> pictures;
    std::vector<std::uint32_t> generator;
    for (const Case& c : {Case{1, 0}, Case{0, 0}, Case{1, 1}}) {
        RestoreSetup();
        StartBlast();
        showState.blastCountdown = 0;
        settings.text = c.text;
        settings.matrox = c.matrox;
        RenderShowFrame();
        pictures.push_back(ReadVirtualModePixels());
        generator.push_back(RandomState());
    }
    EXPECT_NE(pictures[0], pictures[1]) << "no caption with text on";
    EXPECT_EQ(pictures[1], pictures[2]) << "a caption with matrox on";
    EXPECT_EQ(generator[0], generator[1]);
    EXPECT_EQ(generator[1], generator[2]);
}

}  // namespace
