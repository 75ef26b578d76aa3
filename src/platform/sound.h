// Sound effects: one WAV file played asynchronously on the one effect voice (PlaySoundA's
// contract). The call returns at once and never waits on the sound system: the file is read
// and decoded elsewhere. A new effect stops the one still playing; a missing or unreadable
// file plays nothing, and no default sound takes its place.
//
// The effect voice plays only between OpenSoundEffects and CloseSoundEffects, which the show's
// set-up and shutdown call; outside them, or when no output device opens, effects are silent.
#pragma once
#include <string>

void OpenSoundEffects();
void CloseSoundEffects();

void PlaySoundEffect(const std::string& path);

// Each system's backend: plays the effect on the speakers. Called by PlaySoundEffect only.
void PlaySystemSound(const std::string& path);
