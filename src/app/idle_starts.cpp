#include "app/idle_starts.h"

#include <algorithm>

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

long long IdleStarts::MsUntilNextLook(IdleState state, long long nowMs) const {
    if (state != IdleState::idle || startedThisStretch_ || !lastStartMs_) return -1;
    return std::max(0LL, *lastStartMs_ + waitMs_ - nowMs);
}
