#include "assets/textures.h"

// Declaration order is construction order; destruction runs the other way.
Texture texStar;
Texture texFire;
Texture texStelle;
Texture texStelle2;
Texture texSun;
Texture texEnv;
Texture texFont;
Texture texFront;
