// The opening's own pictures, drawn by the frame driver before frame 5000: the drifting blue
// glow behind the captions, and in preview the logo that turns white.
#pragma once

void DrawNebula(int frame);
void DrawPreviewLogo(int frame);
