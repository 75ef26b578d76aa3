// Scenes not built yet draw nothing; the frame driver's counters and timeline do not depend
// on them. Each moves to its own file when it is built.
#include "show/scenes.h"

void DrawCredits() {}
void DrawBlastScene() {}
void DrawCaptions() {}
