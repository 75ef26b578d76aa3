// The clock that paces the show where buffer swaps do not wait for the display's refresh.
//
//   - MonotonicSeconds: a clock that never jumps (not the wall clock); only differences
//     between two readings mean anything.
//   - SleepUntilSeconds: returns once MonotonicSeconds has reached the given reading, at once
//     when it has already passed; a signal does not cut the wait short.
//   - DisplayRefreshRate: the refresh rate, in Hz, of the monitor the show fills (the primary
//     one); 0 when the window system does not say.
#pragma once

double MonotonicSeconds();
void SleepUntilSeconds(double seconds);
double DisplayRefreshRate();
