// The show's flat glowing squares: one quad in the plane z = 0, centred on the current
// origin, in the current colour. None touches the matrix, colour, blending or depth state.
#pragma once

// Any square of the show: corners (±halfSize, ±halfSize, 0) counter-clockwise from the lower
// left, texture coordinates from (0, 0) to (repeats, repeats), whatever texture is bound. With
// texturing off the coordinates go unused.
void DrawTexturedSquare(float halfSize, float repeats);

// Half-size 0.2, with whatever texture is bound (the shock ring binds texStar first).
void DrawRingQuad();
// Binds texSun.
void DrawSunQuad(float halfSize);
// The scenes' star backdrop, half-size 30: switches texture-coordinate generation off for s
// and t (and leaves it off), binds texStelle and repeats it 15 times across the square.
void DrawStarfield();
// Binds texStar.
void DrawStarQuad(float halfSize);
