// Realises the voice slots of voice_mixer.h, the mixing pass and the count of the output's
// users, the same over every device: the slots' lock is held for a whole pass, so a voice taken
// out is untouched once SwapVoice or RemoveVoice returns. The count has a lock of its own,
// which the output's thread never takes.
#include <algorithm>
#include <array>
#include <mutex>
#include <utility>

#include "platform/portable/voice_mixer.h"

namespace {

constexpr int kVoiceSlots = 4;
constexpr float kFullScale = 32767.0f;

struct Slots {
    std::mutex lock;
    std::array<MixVoice*, kVoiceSlots> voices{};
    std::array<float, kMixBlockFrames * kOutputChannels> mix{};
    // Changed only by the set-up, shutdown and effect threads, under userLock.
    std::mutex userLock;
    int users = 0;
};

Slots& TheSlots() {
    static Slots slots;
    return slots;
}

void MixBlock(Slots& slots, std::int16_t* out, int frames) {
    std::fill_n(slots.mix.begin(), frames * kOutputChannels, 0.0f);
    for (MixVoice* voice : slots.voices) {
        if (voice != nullptr) voice->AddTo(slots.mix.data(), frames);
    }
    for (int i = 0; i < frames * kOutputChannels; ++i) {
        out[i] = static_cast<std::int16_t>(std::clamp(slots.mix[i], -1.0f, 1.0f) * kFullScale);
    }
}

}  // namespace

void MakeVoiceSlots() {
    TheSlots();
}

void MixVoices(std::int16_t* out, int frames) {
    Slots& slots = TheSlots();
    const std::lock_guard hold(slots.lock);
    while (frames > 0) {
        const int block = std::min(frames, kMixBlockFrames);
        MixBlock(slots, out, block);
        out += block * kOutputChannels;
        frames -= block;
    }
}

MixVoice* SwapVoice(VoiceSlot slot, MixVoice* voice) {
    Slots& slots = TheSlots();
    const std::lock_guard hold(slots.lock);
    return std::exchange(slots.voices[static_cast<int>(slot)], voice);
}

void RemoveVoice(VoiceSlot slot, const MixVoice* voice) {
    Slots& slots = TheSlots();
    const std::lock_guard hold(slots.lock);
    MixVoice*& held = slots.voices[static_cast<int>(slot)];
    if (held == voice) held = nullptr;
}

bool AcquireAudioOutput() {
    Slots& slots = TheSlots();
    const std::lock_guard hold(slots.userLock);
    if (slots.users == 0 && !OpenOutputDevice()) return false;
    ++slots.users;
    return true;
}

void ReleaseAudioOutput() {
    Slots& slots = TheSlots();
    const std::lock_guard hold(slots.userLock);
    if (slots.users == 0 || --slots.users > 0) return;
    CloseOutputDevice();
}
