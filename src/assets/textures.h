// The show's eight textures, constructed empty before main and destroyed in reverse order at
// exit, with the data files they are loaded from (relative to the install folder, in the
// spelling the loaders use).
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

inline constexpr const char* kStarFile = "\\data\\star.jpg";
inline constexpr const char* kFireFile = "\\data\\fire.jpg";
inline constexpr const char* kStelleFile = "\\data\\stelle.jpg";
inline constexpr const char* kStelle2File = "\\data\\stelle2.jpg";
inline constexpr const char* kSunFile = "\\data\\Sun.jpg";
inline constexpr const char* kEnvFile = "\\data\\env.jpg";
inline constexpr const char* kFontFile = "\\data\\Font.jpg";
inline constexpr const char* kFrontFile = "\\data\\front.jpg";
