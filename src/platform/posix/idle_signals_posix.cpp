// IdleSignals on Linux: the signals blocked and read from a signalfd. The saver, started with
// posix_spawn, gets an empty signal mask back (ChildProcess sets it).
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <initializer_list>

#include "platform/idle_signals.h"

namespace {

sigset_t StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&set, signalNumber);
    return set;
}

}  // namespace

IdleSignals::IdleSignals() {
    const sigset_t set = StopSignals();
    sigprocmask(SIG_BLOCK, &set, nullptr);
    descriptor_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
}

IdleSignals::~IdleSignals() {
    if (descriptor_ >= 0) close(descriptor_);
}

void IdleSignals::AlsoWatchChildren() {
    sigset_t set = StopSignals();
    sigaddset(&set, SIGCHLD);
    sigprocmask(SIG_BLOCK, &set, nullptr);
    signalfd(descriptor_, &set, 0);
}

bool IdleSignals::TakeStopRequest() {
    signalfd_siginfo info;
    while (read(descriptor_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        if (info.ssi_signo != SIGCHLD) stopRequested_ = true;
    }
    return stopRequested_;
}
