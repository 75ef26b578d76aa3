// Preparing the show once per run (tables, textures, fonts, GL state, random starting values,
// credits) and undoing what must go before the rendering context does.
#pragma once
#include <array>
#include <string>

// Needs the rendering context current and the projection set. Does nothing without an
// install folder. The saver run passes start frame 0.
void SetupShow(int startFrame);
// True when this run's set-up switches all sound off for the whole run: the preview, and a
// copy started beside another that already plays.
bool SetupSilencesRun();
// Safe when SetupShow did nothing; runs once per run.
void ShutdownShow();
// Puts the credits lines back at their starting heights: line 0 at the top, each following
// line one line spacing lower. The set-up and every restart of the show do this.
void ResetCreditY();
// The fixed GL state the whole show draws with (texturing, smooth shading, light 0, colour
// material, the clear values and additive blending); part of SetupShow. Depth testing is
// left as it is.
void SetShowGlState();

// The long bang: the install folder followed by "\data\bang.wav", built by the set-up.
extern std::string bangPath;
// The four short bangs of the growing sun, "\data\bangshrt1.wav" to "\data\bangshrt4.wav",
// built beside it so that no frame has to build a path.
inline constexpr int kShortBangCount = 4;
extern std::array<std::string, kShortBangCount> shortBangPaths;

// True from a complete SetupShow to ShutdownShow. False when there was no install folder or
// the tables could not be allocated (then nothing else was set up and the table pointers are
// null), so no frame may be drawn while it is false.
extern bool showReady;
