// The scenes the frame driver calls, in its order. The sun scene, the collapse glow, the
// captions and the credits roll are built in later work; until then they draw nothing
// (scenes_pending.cpp).
#pragma once

void DrawCredits();
void DrawSunScene();
void DrawBlastScene();
void DrawCollapseGlow();
void DrawCaptions();
