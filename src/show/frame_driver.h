// The frame driver: one call draws one complete frame of the show into the current
// framebuffer and advances the show by one step.
#pragma once

void RenderShowFrame();

// The short bang (0 to 3) that a draw n of 0..999 picks: above 750 the fourth, above 500 the
// third, above 250 the second, else the first.
int ShortBangIndex(int n);
