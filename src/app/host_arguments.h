// The command line of the host-mode program, the hack that screen-saver hosts (XScreenSaver,
// and the MATE and Xfce savers, which start hacks the same way) run in their own window.
//
// Inputs: the arguments after the program's name and the value of XSCREENSAVER_WINDOW (null
// when it is not set). Accepted: -root, -window-id <id> (each also with two dashes); an id is
// decimal or 0x hexadecimal, nonzero and at most 32 bits, with nothing after it.
// The window, in order of precedence: the one -window-id names; else the one
// XSCREENSAVER_WINDOW names (a host sets it and passes -root); else, with -root, the screen's
// root window. Anything else (an unknown argument, a bad id, no window at all) is an error
// with a one-line message for the user.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_id.h"

struct HostArguments {
    bool valid = false;
    bool root = false;    // draw in the screen's root window
    WindowId window = 0;  // otherwise the window to draw in
    std::string error;    // set when not valid
};

HostArguments ParseHostArguments(const std::vector<std::string_view>& arguments,
                                 const char* environmentWindow);

// The usage text printed with an error.
inline constexpr const char* kHostUsage =
    "usage: vostrel-hack [-root] [-window-id <id>]\n"
    "Plays the full show in a screen-saver host's window: the one -window-id or\n"
    "XSCREENSAVER_WINDOW names, else with -root the whole screen. It runs until it is ended\n"
    "by a signal (SIGTERM, SIGINT) or its window goes.\n";
