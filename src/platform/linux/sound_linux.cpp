// Sound effects on Linux: PlaySystemSound. The audio output (SDL) comes with the audio work;
// until then an effect plays nothing, exactly as a missing file does.
#include "platform/sound.h"

void PlaySystemSound(const std::string&) {}
