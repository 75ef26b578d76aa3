#include "app/idle_service.h"

#include <chrono>
#include <cstdio>
#include <vector>

#include "app/idle_starts.h"
#include "platform/child_process.h"
#include "platform/idle_monitor.h"
#include "platform/idle_session_lock.h"
#include "platform/idle_signals.h"
#include "platform/idle_watch_claim.h"

namespace {

long long SteadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

class IdleWatch {
  public:
    IdleWatch(IdleMonitor& monitor, long long waitMs, const std::string& saver)
        : monitor_(monitor), starts_(waitMs), saver_(saver) {}

    void Run() {
        IdleState state = IdleState::active;
        while (true) {
            state = monitor_.Wait(starts_.MsUntilNextLook(state, SteadyMs()), Watched());
            if (signals_.TakeStopRequest() || state == IdleState::ended) break;
            if (starts_.ShouldStart(state, running_.Running(), SteadyMs()) &&
                !IdleSessionLocked()) {
                StartSaver();
            }
        }
        running_.Stop();
    }

  private:
    std::vector<int> Watched() const {
        std::vector<int> watched{signals_.Descriptor()};
        if (running_.EndDescriptor() >= 0) watched.push_back(running_.EndDescriptor());
        return watched;
    }

    void StartSaver() {
        if (!running_.Start(saver_, {"/s"})) {
            std::fprintf(stderr, "vostrel-idle: could not start %s\n", saver_.c_str());
            return;
        }
        if (running_.EndDescriptor() < 0) signals_.AlsoWatchChildren();
    }

    IdleMonitor& monitor_;
    IdleStarts starts_;
    const std::string& saver_;
    IdleSignals signals_;
    ChildProcess running_;
};

}  // namespace

int RunIdleService(long long waitMs, const std::string& saver) {
    if (!ClaimIdleWatch()) {
        std::fprintf(stderr,
                     "vostrel-idle: another vostrel-idle already watches this session; this one "
                     "ends\n");
        return 1;
    }
    const std::unique_ptr<IdleMonitor> monitor = OpenIdleMonitor(waitMs);
    if (!monitor) {
        std::fprintf(stderr,
                     "vostrel-idle: this session tells no idle time (no Wayland idle protocol, no "
                     "X server)\n");
        return 1;
    }
    IdleWatch(*monitor, waitMs, saver).Run();
    return 0;
}
