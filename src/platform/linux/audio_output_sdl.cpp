// Realises the shared output of audio_output_sdl.h with SDL2's audio device and a callback
// that mixes the filled voice slots in floating point and clips once into 16-bit samples.
// Leaves out: device choice (SDL's default device of its chosen driver) and volume control.
#include "platform/linux/audio_output_sdl.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <mutex>
#include <utility>

#include "platform/audio_engine.h"

namespace {

constexpr int kOutputChannels = 2;
constexpr int kVoiceSlots = 4;
constexpr float kFullScale = 32767.0f;

struct Output {
    std::mutex voicesLock;
    std::array<MixVoice*, kVoiceSlots> voices{};
    SDL_AudioDeviceID device = 0;
    int users = 0;  // only the set-up, shutdown and effect threads change it, under userLock
    std::mutex userLock;
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

bool OpenDevice(Output& output) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec wanted{};
    wanted.freq = kAudioMixRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kOutputChannels;
    wanted.samples = kMixBlockFrames;
    wanted.callback = MixCallback;
    wanted.userdata = &output;
    output.device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (output.device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(output.device, 0);
    return true;
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
