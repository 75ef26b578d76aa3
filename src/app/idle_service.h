// vostrel-idle's watch: starts `saver /s` each time the session has been idle for `waitMs`
// (IdleStarts), until SIGTERM, SIGINT or SIGHUP or the session's end, then stops a saver it
// started and returns the exit status (0; 1 when the session offers no idle source).
#pragma once
#include <string>

int RunIdleService(long long waitMs, const std::string& saver);
