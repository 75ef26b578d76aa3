// The show's eight textures, constructed empty before main and destroyed in reverse order at
// exit. The files they are loaded from are in base/data_manifest.h.
#pragma once
#include "assets/texture.h"

extern Texture texStar;
extern Texture texFire;
extern Texture texStelle;
extern Texture texStelle2;
extern Texture texSun;
extern Texture texEnv;
extern Texture texFont;
extern Texture texFront;
