// The show state as one line of JSON, for the offscreen renderer's --state file: the frame
// just drawn, the frame counter, the scene counters and angles, and the random generator's
// state.
#pragma once
#include <string>

std::string ShowStateJson(int drawnFrame);
