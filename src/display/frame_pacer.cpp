#include "display/frame_pacer.h"

namespace {

// Rates outside this range are a misreading (a mode without timings, a broken driver).
constexpr double kLowestRefreshRate = 20.0;
constexpr double kHighestRefreshRate = 500.0;
// Frames that took less than this share of a refresh each cannot have waited for it.
constexpr double kWaitedShare = 0.75;

void DecidePacing(FramePacer* pacer, double now) {
    pacer->decided = true;
    const double perFrame = (now - pacer->probeStart) / pacer->framesProbed;
    pacer->pacing = perFrame < pacer->period * kWaitedShare;
    pacer->nextTick = now;
}

}  // namespace

FramePacer StartFramePacer(double refreshRate, double now) {
    FramePacer pacer;
    const bool plausible = refreshRate >= kLowestRefreshRate && refreshRate <= kHighestRefreshRate;
    pacer.period = 1.0 / (plausible ? refreshRate : kFallbackRefreshRate);
    pacer.probeStart = now;
    return pacer;
}

double NextFrameTime(FramePacer* pacer, double now) {
    if (!pacer->decided) {
        pacer->framesProbed += 1;
        if (pacer->framesProbed < kPacingProbeFrames) return 0.0;
        DecidePacing(pacer, now);
    }
    if (!pacer->pacing) return 0.0;
    pacer->nextTick += pacer->period;
    if (pacer->nextTick < now - pacer->period) pacer->nextTick = now;
    return pacer->nextTick > now ? pacer->nextTick : 0.0;
}
