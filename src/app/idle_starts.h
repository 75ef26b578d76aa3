// When vostrel-idle starts the saver: once per stretch of idleness, never while one it started
// still runs, and never sooner than a whole wait after the last start, so that a saver that
// ends at once (a crash, a refused start) is not started over and over while the session
// stays idle.
#pragma once
#include <optional>

#include "platform/idle_monitor.h"

class IdleStarts {
  public:
    explicit IdleStarts(long long waitMs) : waitMs_(waitMs) {}
    // Told the session's state at `nowMs` (any steady clock); true when the saver is to be
    // started now.
    bool ShouldStart(IdleState state, bool saverRunning, long long nowMs);
    // How long the caller may sleep at `nowMs` in `state` before a start could fall due
    // without news from the session: the rest of a whole wait after the last start when that
    // alone holds the start back, else -1 (only news can bring one).
    long long MsUntilNextLook(IdleState state, long long nowMs) const;

  private:
    long long waitMs_;
    bool startedThisStretch_ = false;
    std::optional<long long> lastStartMs_;
};
