#include "app/idle_service.h"

#include <chrono>
#include <cstdio>

#include "app/idle_starts.h"
#include "platform/child_process.h"
#include "platform/idle_monitor.h"
#include "platform/stop_signal.h"

namespace {

// How long a wait for the session's news lasts before the stop request and the saver are
// looked at again.
constexpr int kLookEveryMs = 100;

long long SteadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

int RunIdleService(long long waitMs, const std::string& saver) {
    WatchStopSignals();
    const std::unique_ptr<IdleMonitor> monitor = OpenIdleMonitor(waitMs);
    if (!monitor) {
        std::fprintf(stderr,
                     "vostrel-idle: this session tells no idle time (no Wayland idle protocol, no "
                     "X server)\n");
        return 1;
    }
    ChildProcess running;
    IdleStarts starts(waitMs);
    while (!StopSignalled()) {
        const IdleState state = monitor->Wait(kLookEveryMs);
        if (state == IdleState::ended) break;
        if (starts.ShouldStart(state, running.Running(), SteadyMs()) &&
            !running.Start(saver, {"/s"})) {
            std::fprintf(stderr, "vostrel-idle: could not start %s\n", saver.c_str());
        }
    }
    running.Stop();
    return 0;
}
