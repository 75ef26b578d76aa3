// The monitors' power saving while the full-screen saver runs on X11.
//
// The saver suspends the X server's own screen saver so that its blanking never covers the
// show (screensaver_notice_x11.cpp), and the suspension holds the server's monitor power
// saving (DPMS) back with it. The desktop's power schedule is kept here instead: counted from
// the user's last input (the server's idle time, which the suspension leaves running), the
// monitors go to standby, suspend and off at the timeouts the desktop set, as they would
// without the saver. While they are not on, nothing is drawn; input turns them on (the
// server does that) and ends the saver as usual.
#pragma once
#include <X11/Xlib.h>

namespace x11 {

// Before a frame of the full-screen saver: applies the desktop's schedule (looked at about
// once a second), and while the monitors are not on waits, without drawing, for them to come
// on or for a message for the loop.
void WaitWhileMonitorsSleep(Display* display);

}  // namespace x11
