// Sound effects on Linux. The audio output (SDL) comes with the audio work; until then an
// effect plays nothing, exactly as a missing file does.
#include "platform/sound.h"

namespace {

SoundEffectSpy soundEffectSpy = nullptr;

}  // namespace

void SetSoundEffectSpyForTests(SoundEffectSpy spy) {
    soundEffectSpy = spy;
}

void PlaySoundEffect(const std::string& path) {
    if (soundEffectSpy != nullptr) soundEffectSpy(path);
}
