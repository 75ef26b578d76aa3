// Sound effects: one WAV file played asynchronously on the one effect voice; a new effect
// stops the one still playing (PlaySoundA's contract). A missing file plays nothing.
#pragma once
#include <string>

void PlaySoundEffect(const std::string& path);
