// Preparing the show once per run (tables, textures, fonts, GL state, random starting values,
// credits) and undoing what must go before the rendering context does.
#pragma once
#include <string>

// Needs the rendering context current and the projection set. Does nothing without an
// install folder. The saver run passes start frame 0.
void SetupShow(int startFrame);
// Safe when SetupShow did nothing; runs once per run.
void ShutdownShow();

// The long bang: the install folder followed by "\data\bang.wav", built by the set-up.
extern std::string bangPath;
