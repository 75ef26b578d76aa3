// The saver's own connection to the X server, and the trapping of X errors on it.
//
// Xlib reports a failed request later, through a process-wide error handler whose default
// ends the process. Ours records the error instead, so a bad window id or a request on a
// window that has gone becomes a failed call. Errors of other connections (GTK's) go to the
// handler that was there before ours. A lost connection ends the process with status 0.
#pragma once
#include <X11/Xlib.h>

// Opened on first use (once more after a short pause when the server refuses it); nullptr when
// no X server can be reached.
Display* SaverDisplay();
// The connection if it was opened, without opening it.
Display* OpenedSaverDisplay();

// Catches the errors of the requests made while it lives.
class XErrorTrap {
  public:
    explicit XErrorTrap(Display* display);
    // Waits for the server to answer every request so far; true when none failed.
    bool Passed();

  private:
    Display* display_;
};
