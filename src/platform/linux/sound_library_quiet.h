// The sound libraries below SDL write their own diagnostics to standard error; on a machine
// without a sound card ALSA alone writes eight lines for one failed opening. Those lines are
// no message of this program and must never reach the terminal of a user or of a screen-saver
// host; the program's own messages still do.
#pragma once

// Silences them for the rest of the process; call before SDL first loads a sound driver.
void KeepSoundLibrariesQuiet();
