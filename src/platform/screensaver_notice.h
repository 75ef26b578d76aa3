// Telling the system that a screen saver is running, and withdrawing it.
#pragma once

// False when the system cannot be told (no X server, no screen-saver extension).
bool SetScreenSaverRunning(bool running);
