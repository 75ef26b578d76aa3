// The clock that paces the show where buffer swaps do not wait for the display's refresh.
//
//   - MonotonicSeconds: a clock that never jumps (not the wall clock); only differences
//     between two readings mean anything.
//   - SleepUntilSeconds: returns once MonotonicSeconds has reached the given reading, at once
//     when it has already passed; a signal does not cut the wait short.
//   - MonotonicMilliseconds: the same clock in whole milliseconds, for the waits counted in them.
//   - DisplayRefreshRate: the refresh rate, in Hz, of the monitor the show fills (the primary
//     one); 0 when the window system does not say.
#pragma once

double MonotonicSeconds();
inline long long MonotonicMilliseconds() {
    return static_cast<long long>(MonotonicSeconds() * 1000.0);
}
void SleepUntilSeconds(double seconds);
double DisplayRefreshRate();
