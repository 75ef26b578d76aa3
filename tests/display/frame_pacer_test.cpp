// The pacer against a simulated clock: each case says how long a frame (draw + swap) takes
// and what the loop must then do.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "display/frame_pacer.h"

namespace {

struct PacedRun {
    std::vector<double> frameStarts;  // clock reading at the start of every frame
    int waits = 0;
};

// Plays frames through the pacer, sleeping exactly as the saver loop does; a frame takes
// costOf(i) seconds, the clock starts at 1000 s (any reading will do).
template <typename Cost>
PacedRun PlayFrames(double refreshRate, int frames, Cost costOf) {
    PacedRun run;
    double now = 1000.0;
    FramePacer pacer = StartFramePacer(refreshRate, now);
    for (int i = 0; i < frames; ++i) {
        run.frameStarts.push_back(now);
        now += costOf(i);
        const double until = NextFrameTime(&pacer, now);
        if (until > now) {
            run.waits += 1;
            now = until;
        }
    }
    return run;
}

double FramesPerSecond(const PacedRun& run, int from) {
    const int last = static_cast<int>(run.frameStarts.size()) - 1;
    return (last - from) / (run.frameStarts[last] - run.frameStarts[from]);
}

TEST(FramePacer, PacesOnlyWhereSwapsDoNotWait) {
    struct Case {
        const char* name;
        double refreshRate;
        double frameCost;
        bool paced;
        double expectedRate;  // frames per second after the probe
    };
    const Case cases[] = {
        {"swaps return at once, 60 Hz", 60.0, 0.001, true, 60.0},
        {"swaps return at once, 144 Hz", 144.0, 0.0005, true, 144.0},
        {"rate unknown: 60 Hz", 0.0, 0.001, true, kFallbackRefreshRate},
        {"absurd rate reading: 60 Hz", 100000.0, 0.001, true, kFallbackRefreshRate},
        {"driver waits for the refresh", 60.0, 1.0 / 60.0, false, 60.0},
        {"slower than the refresh", 60.0, 0.030, false, 1.0 / 0.030},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PacedRun run = PlayFrames(c.refreshRate, 600, [&](int) { return c.frameCost; });
        EXPECT_EQ(run.waits > 0, c.paced);
        EXPECT_NEAR(FramesPerSecond(run, kPacingProbeFrames), c.expectedRate, 0.01);
    }
}

TEST(FramePacer, ASlowStartDoesNotDecideTheWholeRun) {
    // The driver compiles its shaders during the first frames, then draws in a millisecond.
    const PacedRun run = PlayFrames(60.0, 600, [](int i) { return i < 40 ? 0.05 : 0.001; });
    EXPECT_GT(run.waits, 0);
    EXPECT_NEAR(FramesPerSecond(run, 3 * kPacingProbeFrames), 60.0, 0.01);
}

TEST(FramePacer, TicksStayOnTheGridWhateverEachFrameCosts) {
    // Frame costs jitter between 1 and 9 ms; the n-th paced frame still starts exactly n
    // periods after the probe ended, to rounding.
    const PacedRun run =
        PlayFrames(50.0, 3000, [](int i) { return 0.001 + 0.008 * ((i * 7) % 10) / 9; });
    const double gridStart = run.frameStarts[kPacingProbeFrames];
    const int last = static_cast<int>(run.frameStarts.size()) - 1;
    EXPECT_NEAR(run.frameStarts[last] - gridStart, (last - kPacingProbeFrames) / 50.0, 1e-9);
}

TEST(FramePacer, AStallRestartsTheGridInsteadOfRushingFrames) {
    const double stall = 1.0;
    const PacedRun run = PlayFrames(60.0, 200, [&](int i) { return i == 100 ? stall : 0.001; });
    // No frame after the stall starts sooner than a refresh after the one before it.
    for (int i = 102; i < 200; ++i) {
        EXPECT_GE(run.frameStarts[i] - run.frameStarts[i - 1], 1.0 / 60.0 - 1e-9) << i;
    }
}

}  // namespace
