// Frame pacing for drivers whose buffer swaps do not wait for the display's refresh.
//
// The show is counted in frames and was made for one frame per refresh, which a driver that
// honours the swap interval gives by itself. Where swaps return at once (vsync off in the
// driver, virtual X servers, some virtual machines) the loop would run as fast as the
// processor allows: the timeline would play in a fraction of its time and a core would burn.
//
// The pacer watches the first frames. If they came faster than the refresh allows, swaps do
// not wait, and from then on it names a tick per frame on a fixed grid of refresh periods
// (no drift: each tick is the previous one plus one period). A frame that falls more than a
// period behind restarts the grid at its own end instead of rushing frames to catch up. If
// the first frames came at the refresh pace or slower, the pacer never asks for a wait.
#pragma once

// Used when the window system does not tell the rate, or tells one no monitor has.
inline constexpr double kFallbackRefreshRate = 60.0;
// Frames watched before deciding; enough to look past a driver's first, unqueued swaps.
inline constexpr int kPacingProbeFrames = 30;

struct FramePacer {
    double period = 1.0 / kFallbackRefreshRate;  // seconds per refresh
    double probeStart = 0.0;                     // clock reading when the probe began
    int framesProbed = 0;
    bool decided = false;
    bool pacing = false;
    double nextTick = 0.0;
};

// refreshRate in Hz, 0 when unknown; now is a MonotonicSeconds reading.
FramePacer StartFramePacer(double refreshRate, double now);
// Called once after each swap with the clock's reading: the reading to sleep until before
// the next frame, or 0 when it may start at once.
double NextFrameTime(FramePacer* pacer, double now);
