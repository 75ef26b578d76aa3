// The request from outside to end the process: a screen-saver host ends its hack with SIGTERM
// (and a terminal with SIGINT) and expects it to go within a frame, cleanly.
//
//   - WatchStopSignals makes those signals set a flag instead of killing the process; until it
//     is called they keep their default action.
//   - StopSignalled answers whether one has arrived since the watch began. It is cheap enough
//     to ask once per frame and safe to ask from the main thread at any time.
#pragma once

void WatchStopSignals();
bool StopSignalled();
