#include "display/frame_pacer.h"

#include <algorithm>

namespace {

// Rates outside this range are a misreading (a mode without timings, a broken driver).
constexpr double kLowestRefreshRate = 20.0;
constexpr double kHighestRefreshRate = 500.0;
// Frames busy for less than this share of a refresh cannot have waited for it.
constexpr double kWaitedShare = 0.75;

void JudgeWindow(FramePacer* pacer, double now) {
    double* middle = pacer->busy + kPacingProbeFrames / 2;
    std::nth_element(pacer->busy, middle, pacer->busy + kPacingProbeFrames);
    const bool pace = *middle < pacer->period * kWaitedShare;
    if (pace && !pacer->pacing) pacer->nextTick = now;
    pacer->pacing = pace;
    pacer->windowFrames = 0;
}

double NextTick(FramePacer* pacer, double now) {
    if (!pacer->pacing) return 0.0;
    pacer->nextTick += pacer->period;
    if (pacer->nextTick < now - pacer->period) pacer->nextTick = now;
    return pacer->nextTick > now ? pacer->nextTick : 0.0;
}

}  // namespace

FramePacer StartFramePacer(double refreshRate, double now) {
    FramePacer pacer;
    const bool plausible = refreshRate >= kLowestRefreshRate && refreshRate <= kHighestRefreshRate;
    pacer.period = 1.0 / (plausible ? refreshRate : kFallbackRefreshRate);
    pacer.frameStart = now;
    return pacer;
}

double NextFrameTime(FramePacer* pacer, double now) {
    pacer->busy[pacer->windowFrames++] = now - pacer->frameStart;
    if (pacer->windowFrames == kPacingProbeFrames) JudgeWindow(pacer, now);
    const double until = NextTick(pacer, now);
    pacer->frameStart = until > now ? until : now;
    return until;
}
