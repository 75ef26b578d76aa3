// vostrel-render's work: runs the show offscreen from its start frame exactly as the saver
// does (settings, set-up, one RenderShowFrame per frame) and writes the listed frames as
// DIR/frame-NNNNN.png. NNNNN is the frame's number: the start frame plus the frames drawn
// before it, counting on past the restart (frame 9500 opens the second cycle, where the
// show's own counter is 0 again) and past the show's last frame when it does not restart.
#pragma once
#include <string>
#include <vector>

#include "app/render_request.h"

// Exit codes of the renderer.
inline constexpr int kRenderOk = 0;
inline constexpr int kRenderFailed = 1;
inline constexpr int kRenderBadArguments = 2;

// Parses the arguments (program name excluded), renders, and returns the exit code; every
// failure is explained on standard error.
int RunOffscreenRender(const std::vector<std::string>& arguments);
