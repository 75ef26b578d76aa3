// The show's flat glowing squares: one quad in the plane z = 0, centred on the current
// origin, in the current colour. None touches the matrix, colour, blending or depth state.
#pragma once

// Half-size 0.2, with whatever texture is bound (the shock ring binds texStar first).
void DrawRingQuad();
// Binds texSun.
void DrawSunQuad(float halfSize);
// Switches texture-coordinate generation off for s and t (and leaves it off), binds
// texStelle and repeats it `repeats` times across the square.
void DrawStarfield(float halfSize, float repeats);
// Binds texStar.
void DrawStarQuad(float halfSize);
