// The outcome line that follows each logged step of the saver run and of its tear-down.
#pragma once
#include "base/report_log.h"

inline void LogOutcome(bool succeeded) {
    LogLine(succeeded ? "SUCCESSFUL.\n" : "FAILED.\n");
}
