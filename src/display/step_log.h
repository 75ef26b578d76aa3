// The outcome line that follows each logged step of the saver run and of its tear-down.
#pragma once
#include "app/debug_report.h"

inline void LogOutcome(bool succeeded) {
    LogLine(succeeded ? "SUCCESSFUL.\n" : "FAILED.\n");
}
