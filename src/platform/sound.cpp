// Sound effects, the part every system shares: the test spy, then the system's own player.
#include "platform/sound.h"

namespace {

SoundEffectSpy soundEffectSpy = nullptr;

}  // namespace

void SetSoundEffectSpyForTests(SoundEffectSpy spy) {
    soundEffectSpy = spy;
}

void PlaySoundEffect(const std::string& path) {
    if (soundEffectSpy != nullptr) {
        soundEffectSpy(path);
        return;
    }
    PlaySystemSound(path);
}
