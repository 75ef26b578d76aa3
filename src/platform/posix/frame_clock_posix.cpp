// The pacing clock on POSIX: CLOCK_MONOTONIC read and slept on at absolute times.
// DisplayRefreshRate is the window system's (the monitor's refresh rate).
//
// Realised here: CLOCK_MONOTONIC with clock_nanosleep at an absolute time, so waits do not add up
// rounding.
#include <time.h>

#include <cerrno>
#include <cmath>

#include "platform/frame_clock.h"

namespace {

constexpr double kNanosecondsPerSecond = 1e9;

}  // namespace

double MonotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / kNanosecondsPerSecond;
}

void SleepUntilSeconds(double seconds) {
    if (!(seconds > 0.0)) return;
    double whole = 0.0;
    const double fraction = std::modf(seconds, &whole);
    timespec until{};
    until.tv_sec = static_cast<time_t>(whole);
    until.tv_nsec = static_cast<long>(fraction * kNanosecondsPerSecond);
    // An absolute deadline: a wait cut short by a signal simply starts again towards it.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}
