// Counts every operator new of this test executable (test_allocation.h) while the show runs:
// a running frame must not allocate. Two passes: the show's turning points drawn by the real
// driver (which may compile state variants on first use, so every range is drawn before the
// counted pass), and every frame of a whole cycle at every detail level with no context
// current.
#include <vector>

#include "platform/offscreen_gl.h"
#include "platform_spies.h"
#include "show_fixture.h"
#include "show_piece_test.h"
#include "test_allocation.h"

namespace {

int bangCount = 0;
void CountBang(const std::string&) {
    ++bangCount;
}

class AllocationTest : public ShowTest {
  protected:
    // The opening's end, the sun with its bangs, the collapse, the blast with its first
    // burst, the fade and the restart into the next cycle.
    void DrawTheShowsTurningPoints() {
        UseFewParticles();
        showState.showFrame = 4990;
        RunUntilFrame(6270);
        showState.showFrame = 9480;
        RunUntilFrame(10);
    }
};

TEST_F(AllocationTest, RunningFramesAllocateNothing) {
    settings.useblur = 1;
    SetSoundEffectSpy(&CountBang);

    // Twice: the counted pass starts from the GL state a pass ends with (depth test, lighting
    // as the last scenes left them), not from the set-up's, so the driver must see it first.
    DrawTheShowsTurningPoints();
    DrawTheShowsTurningPoints();
    const int bangsBefore = bangCount;
    countingAllocations = true;
    DrawTheShowsTurningPoints();
    countingAllocations = false;

    EXPECT_EQ(allocationCount.load(), 0);
    EXPECT_GE(bangCount - bangsBefore, 40);  // the counted pass did play its bangs
}

// Every frame of a whole cycle and the first frames of the next, with the full particle tables
// of each detail level. No context is current, so GL calls return at once and only the show's
// own code runs: a cycle takes seconds instead of many minutes.
TEST(WholeCycleAllocationTest, NoFrameOfACycleAllocatesAtAnyDetailLevel) {
    constexpr int kNextCycleFrames = 100;
    GlTestContext gl;
    if (!gl.ok()) GTEST_SKIP() << "no offscreen GL context";
    SetSoundEffectSpy(&CountBang);
    for (const std::uint32_t part : {kPartLow, kPartMedium, kPartHigh}) {
        SCOPED_TRACE(part);
        ASSERT_TRUE(SetUpShowAtDetail(part));
        const int bangsBefore = bangCount;
        allocationCount = 0;
        ASSERT_TRUE(SetOffscreenGlContextCurrent(TestGlContext(), false));
        countingAllocations = true;
        for (int i = 0; i < kCycleEndFrame + kNextCycleFrames; ++i) RenderShowFrame();
        countingAllocations = false;
        ASSERT_TRUE(SetOffscreenGlContextCurrent(TestGlContext(), true));
        EXPECT_EQ(showState.showFrame, kNextCycleFrames);  // restarted once
        ShutdownShow();
        EXPECT_EQ(allocationCount.load(), 0);
        EXPECT_GE(bangCount - bangsBefore, 40);
    }
}

}  // namespace
