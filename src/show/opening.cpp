#include "show/opening.h"

void DrawNebula(int) {}

void DrawPreviewLogo(int) {}
