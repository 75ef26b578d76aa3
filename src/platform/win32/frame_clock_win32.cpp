// The pacing clock on Windows: the performance counter, and a waitable timer to sleep on.
// DisplayRefreshRate lives with the display settings (display_refresh_win32.cpp).
//
// Sleep alone wakes on the system's tick (15.6 ms unless some program raised the timer
// resolution), a whole frame late at 60 Hz. A high-resolution waitable timer (Windows 10 1803
// on) wakes within about a millisecond; where it cannot be made, an ordinary one serves. Both
// take relative waits, so each wait is measured again from the counter, and the loop goes on
// until the counter has reached the reading: an early wake-up never ends the wait.
#include <windows.h>

#include <cmath>

#include "platform/frame_clock.h"
#include "platform/win32/unique_handle.h"

namespace {

// A waitable timer's due time counts in 100-nanosecond units; negative means relative.
constexpr double kTimerUnitsPerSecond = 1e7;
constexpr double kMillisecondsPerSecond = 1e3;
// CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, which Debian's mingw-w64 headers do not know yet.
constexpr DWORD kHighResolutionTimer = 0x00000002;

double CounterFrequency() {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart);
}

HANDLE WaitTimer() {
    static const UniqueHandle timer([] {
        HANDLE precise =
            CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS);
        return precise != nullptr ? precise : CreateWaitableTimerW(nullptr, TRUE, nullptr);
    }());
    return timer.get();
}

}  // namespace

double MonotonicSeconds() {
    static const double frequency = CounterFrequency();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

void SleepUntilSeconds(double seconds) {
    for (double left = seconds - MonotonicSeconds(); left > 0.0;
         left = seconds - MonotonicSeconds()) {
        LARGE_INTEGER due{};
        due.QuadPart = -static_cast<LONGLONG>(std::ceil(left * kTimerUnitsPerSecond));
        HANDLE timer = WaitTimer();
        if (timer == nullptr || !SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) {
            Sleep(static_cast<DWORD>(std::ceil(left * kMillisecondsPerSecond)));
            continue;
        }
        WaitForSingleObject(timer, INFINITE);
    }
}
