// The full show in a screen-saver host's window, until the host ends it.
//
// No grab, no exit rule and no cursor of our own: the host owns the input and the pointer and
// ends the hack with a signal (or by destroying its window). A stop signal ends the show after
// the frame in flight and tears it down as the saver does, returning 0; a run whose window
// could not be made (no such window, no display, no data) returns non-zero, so that the host
// can tell. Of several copies of
// one user running at once (one per monitor), only the first plays any sound.
// Boxes (missing data, no window) go to standard error: nobody can answer a dialog hidden
// under the host's window. The debug report is never written.
#pragma once
#include "platform/window_id.h"

int RunHostMode(WindowId window);
