// The scenes the frame driver calls, in its order. Those not built yet draw nothing
// (scenes_pending.cpp).
#pragma once

void DrawCredits();
void DrawSunScene();
void DrawBlastScene();
void DrawCollapseGlow();
void DrawCaptions();
