// The frame driver: one call draws one complete frame of the show into the current
// framebuffer and advances the show by one step.
#pragma once

void RenderShowFrame();
