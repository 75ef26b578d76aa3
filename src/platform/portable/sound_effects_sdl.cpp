// Sound effects over SDL: PlaySystemSound, OpenSoundEffects and CloseSoundEffects, with
// PlaySoundA's contract on one voice of the shared SDL output.
//
// The frame thread only swaps the newest path into a one-place mailbox (an atomic pointer);
// it never takes a lock, reads a file, waits or even wakes another thread (a wake-up can hand
// the core to the woken thread on a busy machine). The effect loader looks into the mailbox
// every kMailboxPoll, reads and converts the WAV file with SDL (kept decoded for the next time
// the same bang sounds) and puts it on the effect voice, which drops whatever played before.
// A path still in the mailbox when a newer one arrives is dropped: the newer effect would
// have cut it off at once anyway. The loader's file is opened without waiting and has a
// bounded size, so closing the voice waits for at most one short read and conversion.
// Leaves out: SND_LOOP, SND_NOSTOP, resource and alias sounds; only files play.
#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <semaphore>
#include <thread>
#include <vector>

#include "platform/audio_engine.h"
#include "platform/data_files.h"
#include "platform/portable/voice_mixer.h"
#include "platform/sound.h"

namespace {

constexpr int kStereo = 2;
constexpr float kSampleScale = 1.0f / 32768.0f;
// Well under a frame at any refresh rate, and far below what an ear notices in a bang.
constexpr auto kMailboxPoll = std::chrono::milliseconds(5);
// A bang lasts seconds (the show's longest file is 0.3 MiB). A WAV file may hold at most
// kLargestEffectFile bytes and kLongestEffectSeconds of sound; the two together keep SDL's
// conversion buffer, which grows with the rate and layout change, to tens of megabytes.
constexpr std::size_t kLargestEffectFile = std::size_t{16} << 20;
constexpr double kLongestEffectSeconds = 60.0;

using Samples = std::vector<Sint16>;  // interleaved stereo at the output's rate

class EffectVoice : public MixVoice {
  public:
    explicit EffectVoice(const Samples* samples) : samples_(samples) {}

    void AddTo(float* mix, int frames) override {
        const size_t left = samples_ != nullptr ? samples_->size() - position_ : 0;
        const size_t take = std::min(left, static_cast<size_t>(frames) * kStereo);
        for (size_t i = 0; i < take; ++i) mix[i] += (*samples_)[position_ + i] * kSampleScale;
        position_ += take;
    }

  private:
    const Samples* samples_;  // nullptr: silence, as for a file that did not load
    size_t position_ = 0;
};

bool LastsLongerThanAnEffect(const SDL_AudioSpec& format, Uint32 length) {
    const int frameBytes = SDL_AUDIO_BITSIZE(format.format) / 8 * format.channels;
    return format.freq <= 0 || frameBytes <= 0 ||
           static_cast<double>(length) / frameBytes / format.freq > kLongestEffectSeconds;
}

// A WAV file converted to the output's layout; false when SDL cannot read or convert it, or
// it is larger or longer than any effect.
bool DecodeWav(const std::string& path, Samples& samples) {
    std::vector<char> file;
    if (!ReadRegularFile(path, kLargestEffectFile, file)) return false;
    SDL_AudioSpec fileFormat{};
    Uint8* data = nullptr;
    Uint32 length = 0;
    SDL_RWops* bytes = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    if (SDL_LoadWAV_RW(bytes, 1, &fileFormat, &data, &length) == nullptr) return false;
    if (LastsLongerThanAnEffect(fileFormat, length)) {
        SDL_FreeWAV(data);
        return false;
    }
    SDL_AudioCVT convert{};
    const int built = SDL_BuildAudioCVT(&convert, fileFormat.format, fileFormat.channels,
                                        fileFormat.freq, AUDIO_S16SYS, kStereo, kAudioMixRate);
    bool decoded = built >= 0;
    if (decoded) {
        std::vector<Uint8> buffer(static_cast<size_t>(length) * std::max(convert.len_mult, 1));
        std::copy_n(data, length, buffer.begin());
        convert.buf = buffer.data();
        convert.len = static_cast<int>(length);
        decoded = built == 0 || SDL_ConvertAudio(&convert) == 0;
        const int bytes = built == 0 ? static_cast<int>(length) : convert.len_cvt;
        const auto* first = reinterpret_cast<const Sint16*>(buffer.data());
        if (decoded) samples.assign(first, first + bytes / sizeof(Sint16));
    }
    SDL_FreeWAV(data);
    return decoded;
}

class EffectPlayer {
  public:
    EffectPlayer() { MakeAudioOutputRecord(); }
    ~EffectPlayer() { Close(); }
    EffectPlayer(const EffectPlayer&) = delete;
    EffectPlayer& operator=(const EffectPlayer&) = delete;

    void Open() {
        if (open_ || !AcquireAudioOutput()) return;
        open_ = true;
        loader_ = std::thread(&EffectPlayer::LoadEffects, this);
    }

    void Close() {
        if (!open_) return;
        stop_.release();
        loader_.join();
        delete mailbox_.exchange(nullptr);
        delete SwapVoice(VoiceSlot::Effect, nullptr);
        decoded_.clear();
        ReleaseAudioOutput();
        open_ = false;
    }

    // The frame thread's side: no lock, no file, no wait, no wake-up.
    void Post(const std::string& path) {
        if (!open_.load(std::memory_order_acquire)) return;
        delete mailbox_.exchange(new std::string(path));
    }

  private:
    const Samples* Decoded(const std::string& path) {
        auto found = decoded_.find(path);
        if (found != decoded_.end()) return &found->second;
        Samples samples;
        if (!DecodeWav(path, samples)) return nullptr;
        return &decoded_.emplace(path, std::move(samples)).first->second;
    }

    void LoadEffects() {
        while (!stop_.try_acquire_for(kMailboxPoll)) {
            const std::unique_ptr<std::string> path(mailbox_.exchange(nullptr));
            if (path == nullptr) continue;
            delete SwapVoice(VoiceSlot::Effect, new EffectVoice(Decoded(*path)));
        }
    }

    std::atomic<bool> open_{false};
    std::atomic<std::string*> mailbox_{nullptr};
    std::binary_semaphore stop_{0};
    std::thread loader_;
    std::map<std::string, Samples> decoded_;  // the loader's alone while it runs
};

EffectPlayer& ThePlayer() {
    static EffectPlayer player;
    return player;
}

}  // namespace

void OpenSoundEffects() {
    ThePlayer().Open();
}

void CloseSoundEffects() {
    ThePlayer().Close();
}

void PlaySystemSound(const std::string& path) {
    ThePlayer().Post(path);
}
