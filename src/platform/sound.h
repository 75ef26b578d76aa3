// Sound effects: one WAV file played asynchronously on the one effect voice; a new effect
// stops the one still playing (PlaySoundA's contract). A missing file plays nothing.
#pragma once
#include <string>

void PlaySoundEffect(const std::string& path);

// Tests only: while a spy is set, every effect goes to it instead of the speakers.
using SoundEffectSpy = void (*)(const std::string& path);
void SetSoundEffectSpyForTests(SoundEffectSpy spy);

// Each system's backend: plays the effect on the speakers. Called by PlaySoundEffect only.
void PlaySystemSound(const std::string& path);
