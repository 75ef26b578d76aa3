// Frame pacing for drivers whose buffer swaps do not wait for the display's refresh.
//
// The show is counted in frames and was made for one frame per refresh, which a driver that
// honours the swap interval gives by itself. Where swaps return at once (vsync off in the
// driver, virtual X servers, some virtual machines) the loop would run as fast as the
// processor allows: the timeline would play in a fraction of its time and a core would burn.
//
// The pacer watches the frames in windows of kPacingProbeFrames. A window whose typical
// (median) frame was busy (drawing and swapping, not counting the pacer's own waits) for
// clearly less than a refresh cannot have waited for the refresh: the pacer then names a tick
// per frame on a fixed grid of refresh periods (no drift: each tick is the previous one plus
// one period). A window whose typical frame is busy for most of a refresh (a driver that
// waits, or drawing slower than the refresh) turns the waits off. Judging every window, by
// its median, keeps a slow start (the driver compiling its shaders) or a single stall from
// deciding for the frames after it. A frame that falls more than a period behind restarts the
// grid at its own end instead of rushing frames to catch up.
#pragma once

// Used when the window system does not tell the rate, or tells one no monitor has.
inline constexpr double kFallbackRefreshRate = 60.0;
// Frames per window the pacer judges; enough to look past a driver's first, unqueued swaps.
inline constexpr int kPacingProbeFrames = 30;

struct FramePacer {
    double period = 1.0 / kFallbackRefreshRate;  // seconds per refresh
    double frameStart = 0.0;                     // clock reading when the current frame began
    double busy[kPacingProbeFrames] = {};        // seconds each frame of the window was busy
    int windowFrames = 0;
    bool pacing = false;
    double nextTick = 0.0;
};

// refreshRate in Hz, 0 when unknown; now is a MonotonicSeconds reading.
FramePacer StartFramePacer(double refreshRate, double now);
// Called once after each swap with the clock's reading: the reading to sleep until before
// the next frame, or 0 when it may start at once.
double NextFrameTime(FramePacer* pacer, double now);
