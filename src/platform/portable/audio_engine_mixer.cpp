// Realises the opening and closing of audio_engine.h and its call trace: each successful
// AudioInit holds the shared output once, and the AudioClose that gives back the last hold
// also releases the MP3s, whose handles the caller does not keep.
// Leaves out: the mixing rate and channel counts as arguments (the output has one rate and a
// fixed set of voices).
#include "platform/audio_engine.h"
#include "platform/hook_points.h"
#include "platform/portable/audio_engine_calls.h"
#include "platform/portable/voice_mixer.h"

namespace {

int openCount = 0;

}  // namespace

bool AudioInit() {
    WatchAudioEngineCall("init");
    if (!AcquireAudioOutput()) return false;
    ++openCount;
    return true;
}

void AudioClose() {
    WatchAudioEngineCall("close");
    if (openCount == 0) return;
    if (--openCount == 0) ReleaseLoadedMp3s();
    ReleaseAudioOutput();
}
