// The show state as one line of JSON, for the offscreen renderer's --state file: the
// renderer's number of the frame just drawn ("frame"), the show's own counter beside it
// ("showFrame", which goes back at the restart and stops at 9501 without one), the scene
// counters and angles, and the random generator's state.
#pragma once
#include <string>

std::string ShowStateJson(int drawnFrame);
