// Realises the shared output of voice_mixer.h with SDL2's audio device and a callback
// that mixes the filled voice slots in floating point and clips once into 16-bit samples.
//
// The device opens on a thread of its own, waited for at most kDeviceOpenWait: a sound server
// that accepts the connection and never answers holds SDL for half a minute per driver it
// tries, and the caller is the show's set-up with the screen taken. An opening given up on
// finishes by itself and closes what it opened; until then every acquisition fails at once.
// SDL leaves the process's signals alone (its handlers would swallow SIGTERM and SIGINT).
// Leaves out: device choice (SDL's default device of its chosen driver) and volume control.
#include "platform/portable/voice_mixer.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/audio_engine.h"

namespace {

constexpr int kOutputChannels = 2;
constexpr int kVoiceSlots = 4;
constexpr float kFullScale = 32767.0f;
// A server on the same machine answers in milliseconds; one that has not answered in this
// time is treated as no device, and the show goes on without sound.
constexpr auto kDeviceOpenWait = std::chrono::seconds(2);

// One opening of the device, shared by the thread that opens and the caller that waits.
struct Opening {
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    bool givenUp = false;
    SDL_AudioDeviceID device = 0;
};

struct Output {
    std::mutex voicesLock;
    std::array<MixVoice*, kVoiceSlots> voices{};
    SDL_AudioDeviceID device = 0;
    int users = 0;  // only the set-up, shutdown and effect threads change it, under userLock
    std::mutex userLock;
    std::shared_ptr<Opening> lastOpening;  // under userLock
    std::array<float, kMixBlockFrames * kOutputChannels> mix{};

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

void MixBlock(Output& output, Sint16* out, int frames) {
    std::fill_n(output.mix.begin(), frames * kOutputChannels, 0.0f);
    for (MixVoice* voice : output.voices) {
        if (voice != nullptr) voice->AddTo(output.mix.data(), frames);
    }
    for (int i = 0; i < frames * kOutputChannels; ++i) {
        out[i] = static_cast<Sint16>(std::clamp(output.mix[i], -1.0f, 1.0f) * kFullScale);
    }
}

void MixCallback(void* user, Uint8* stream, int length) {
    auto& output = *static_cast<Output*>(user);
    auto* out = reinterpret_cast<Sint16*>(stream);
    int frames = length / static_cast<int>(sizeof(Sint16) * kOutputChannels);
    const std::lock_guard hold(output.voicesLock);
    while (frames > 0) {
        const int block = std::min(frames, kMixBlockFrames);
        MixBlock(output, out, block);
        out += block * kOutputChannels;
        frames -= block;
    }
}

// Runs on the opening's own thread. The device stays paused, so its callback cannot run
// before the caller takes it; when the caller has given up, the thread closes it again.
void OpenPausedDevice(const std::shared_ptr<Opening>& opening, Output* output) {
    SDL_AudioDeviceID device = 0;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        SDL_AudioSpec wanted{};
        wanted.freq = kAudioMixRate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = kOutputChannels;
        wanted.samples = kMixBlockFrames;
        wanted.callback = MixCallback;
        wanted.userdata = output;
        device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
        if (device == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    const std::lock_guard hold(opening->lock);
    if (opening->givenUp && device != 0) {
        SDL_CloseAudioDevice(device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        device = 0;
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
    std::thread(OpenPausedDevice, opening, &output).detach();
    std::unique_lock hold(opening->lock);
    if (!opening->finished.wait_for(hold, kDeviceOpenWait, [&] { return opening->done; })) {
        opening->givenUp = true;
        return false;
    }
    output.device = opening->device;
    if (output.device != 0) SDL_PauseAudioDevice(output.device, 0);
    return output.device != 0;
}

}  // namespace

void MakeAudioOutputRecord() {
    TheOutput();
}

bool AcquireAudioOutput() {
    Output& output = TheOutput();
    const std::lock_guard hold(output.userLock);
    if (output.users == 0 && !OpenDevice(output)) return false;
    ++output.users;
    return true;
}

void ReleaseAudioOutput() {
    Output& output = TheOutput();
    const std::lock_guard hold(output.userLock);
    if (output.users == 0 || --output.users > 0) return;
    SDL_CloseAudioDevice(output.device);
    output.device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

MixVoice* SwapVoice(VoiceSlot slot, MixVoice* voice) {
    Output& output = TheOutput();
    const std::lock_guard hold(output.voicesLock);
    return std::exchange(output.voices[static_cast<int>(slot)], voice);
}

void RemoveVoice(VoiceSlot slot, const MixVoice* voice) {
    Output& output = TheOutput();
    const std::lock_guard hold(output.voicesLock);
    MixVoice*& held = output.voices[static_cast<int>(slot)];
    if (held == voice) held = nullptr;
}
