// The stop request on Linux: a signal handler that stores a flag, read by the main loop. No
// other work may happen in the handler; the tear-down runs on the main thread afterwards.
//
// Realised here: SIGTERM, SIGINT and SIGHUP, caught by a handler that only stores the flag.
#include <signal.h>

#include <csignal>
#include <initializer_list>

#include "platform/stop_signal.h"

namespace {

volatile std::sig_atomic_t stopSignalled = 0;

void OnStopSignal(int) {
    stopSignalled = 1;
}

}  // namespace

void WatchStopSignals() {
    struct sigaction action{};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted calls restart: the loop notices the flag at the end of the frame anyway.
    action.sa_flags = SA_RESTART;
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) sigaction(signalNumber, &action, nullptr);
}

bool StopSignalled() {
    return stopSignalled != 0;
}
