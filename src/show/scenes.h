// The scenes the frame driver calls, in its order; each lives in a file of its own.
#pragma once

void DrawCredits();
// With the scene camera loaded, colour (255, 255, 255, 192), light 0 and lighting off.
// Leaves face culling and the depth test off, lighting on, object-linear texture coordinates
// generated for s and t, and blending on only if at least one ray was drawn.
void DrawSunScene();
void DrawBlastScene();
// At the restart of the show: the sun's growth and the collapse flash start again.
void ResetSunScene();
// At the restart of the show: the ring shows fully again, the burst timer and the blast's
// countdown start again, and every debris particle is back at the centre.
void ResetBlastScene();
// With the identity loaded (the caller keeps its matrix), blending on and texture-coordinate
// generation off. Draws nothing before sunTicks 930 or once blastCountdown is 0.
void DrawCollapseGlow();
void DrawCaptions();
