// Realises the shared output of voice_mixer.h with SDL2's audio device, whose callback runs
// the mixing pass of the voice slots.
//
// The device opens on a thread of its own, waited for at most kDeviceOpenWait: a sound server
// that accepts the connection and never answers holds SDL for half a minute per driver it
// tries, and the caller is the show's set-up with the screen taken. An opening given up on
// finishes by itself and closes what it opened; until then every acquisition fails at once.
// SDL leaves the process's signals alone (its handlers would swallow SIGTERM and SIGINT).
// Leaves out: device choice (SDL's default device of its chosen driver) and volume control.
#include "platform/portable/voice_mixer.h"

#include <SDL.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/audio_engine.h"

namespace {

// One opening of the device, shared by the thread that opens and the caller that waits.
struct Opening {
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    bool givenUp = false;
    SDL_AudioDeviceID device = 0;
};

struct Output {
    Output() { MakeVoiceSlots(); }

    SDL_AudioDeviceID device = 0;
    std::shared_ptr<Opening> lastOpening;  // only opening and closing touch it, one at a time

    // An output still open at exit (a run that never shut its show down) stops its
    // callback before the record it mixes into goes away.
    ~Output() {
        if (device != 0) SDL_CloseAudioDevice(device);
    }
};

Output& TheOutput() {
    static Output output;
    return output;
}

void MixCallback(void*, Uint8* stream, int length) {
    MixVoices(reinterpret_cast<Sint16*>(stream),
              length / static_cast<int>(sizeof(Sint16) * kOutputChannels));
}

// Runs on the opening's own thread. Unless the caller has given up, which it does under the
// opening's lock, the device starts at once: a paused device still sends silence, and how long
// the caller takes to wake would show as a gap of it at the music's start. When the caller has
// given up, the thread closes the device again without ever starting it.
void OpenPausedDevice(const std::shared_ptr<Opening>& opening) {
    SDL_AudioDeviceID device = 0;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        SDL_AudioSpec wanted{};
        wanted.freq = kAudioMixRate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = kOutputChannels;
        wanted.samples = kMixBlockFrames;
        wanted.callback = MixCallback;
        device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
        if (device == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    const std::lock_guard hold(opening->lock);
    if (opening->givenUp && device != 0) {
        SDL_CloseAudioDevice(device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        device = 0;
    } else if (device != 0) {
        SDL_PauseAudioDevice(device, 0);
    }
    opening->device = device;
    opening->done = true;
    opening->finished.notify_all();
}

bool OpenDevice(Output& output) {
    if (output.lastOpening != nullptr) {
        const std::lock_guard hold(output.lastOpening->lock);
        if (!output.lastOpening->done) return false;
    }
    KeepSoundLibrariesQuiet();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    auto opening = std::make_shared<Opening>();
    output.lastOpening = opening;
    std::thread(OpenPausedDevice, opening).detach();
    std::unique_lock hold(opening->lock);
    if (!opening->finished.wait_for(hold, kDeviceOpenWait, [&] { return opening->done; })) {
        opening->givenUp = true;
        return false;
    }
    output.device = opening->device;
    return output.device != 0;
}

}  // namespace

void MakeAudioOutputRecord() {
    TheOutput();
}

bool OpenOutputDevice() {
    return OpenDevice(TheOutput());
}

void CloseOutputDevice() {
    Output& output = TheOutput();
    SDL_CloseAudioDevice(output.device);
    output.device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
