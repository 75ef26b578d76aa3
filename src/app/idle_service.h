// vostrel-idle's watch: starts `saver /s` each time the session has been idle for `waitMs`
// (IdleStarts) and is not locked, until SIGTERM, SIGINT or SIGHUP or the session's end, then
// stops a saver it started and returns the exit status (0; 1 when the session offers no idle
// source or another vostrel-idle already watches it). It sleeps in one wait over the idle
// source, the signals and the saver's end, so it wakes only for news.
#pragma once
#include <string>

int RunIdleService(long long waitMs, const std::string& saver);
