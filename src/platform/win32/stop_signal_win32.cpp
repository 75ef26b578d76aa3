// The stop request on Windows, where there are no signals: a program started from a console
// gets Ctrl+C and Ctrl+Break through a console control handler, which the system runs on a
// thread of its own; it only stores the flag that the main loop reads.
// Left out: closing the console window, logging off and shutting down. The first ends the
// process as soon as the handler returns, so a flag could not help; a windowed program hears of
// the other two as WM_QUERYENDSESSION and WM_ENDSESSION at its window, whose default handling
// lets the session end and the system end the process.
#include <windows.h>

#include <atomic>

#include "platform/stop_signal.h"

namespace {

std::atomic<bool> stopSignalled{false};

BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    stopSignalled = true;
    return TRUE;
}

}  // namespace

void WatchStopSignals() {
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

bool StopSignalled() {
    return stopSignalled;
}
