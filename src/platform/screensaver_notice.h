// Telling the system that a screen saver is running, and withdrawing it.
//
// Linux: nothing on X corresponds to the Windows flag itself, but what it is for does: while
// the saver runs, the X server's own screen saver and monitor power saving are suspended
// (XScreenSaverSuspend), so that they neither blank the show nor start on top of it.
// Suspensions are counted per connection and end with the process at the latest.
#pragma once

// False when the system cannot be told (no X server, no screen-saver extension).
bool SetScreenSaverRunning(bool running);
