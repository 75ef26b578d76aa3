#include "app/idle_starts.h"

bool IdleStarts::ShouldStart(IdleState state, bool saverRunning, long long nowMs) {
    if (state != IdleState::idle) {
        startedThisStretch_ = false;
        return false;
    }
    if (saverRunning || startedThisStretch_) return false;
    if (lastStartMs_ && nowMs - *lastStartMs_ < waitMs_) return false;
    startedThisStretch_ = true;
    lastStartMs_ = nowMs;
    return true;
}
