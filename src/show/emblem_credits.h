// The emblem that spins beside "VOSTREL": three blades of the outline font's "%" glyph at 0,
// 240 and 120 degrees about one centre. (The credits roll, the other text drawn over the
// scene, is one of the frame driver's scenes.)
#pragma once

// Draws at 2 units in front of the camera, rotated by `angle` degrees about the view axis,
// in the current colour; leaves the matrix as it was. Draws nothing while the outline font
// is suppressed (`matrox` outside preview).
void DrawEmblem(int angle);
