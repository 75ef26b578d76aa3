// Realises the MP3 calls of audio_engine.h with libmpg123: the file stays open and is decoded
// block by block in the output's thread, forced to the output's rate in stereo (mono is
// doubled, other rates resampled by the library), and sought back to its start whenever it
// ends, so it loops without holding a whole decoded song in memory.
// Leaves out: gapless trimming choices and ID3 tags (skipped by the library).
#include <mpg123.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "platform/audio_engine.h"
#include "platform/linux/audio_engine_calls.h"
#include "platform/linux/audio_output_sdl.h"

namespace {

constexpr int kStereo = 2;
// Reads in a row that may give nothing (a format notice, the end, the notice again after the
// seek to the start) before a block is left short.
constexpr int kEmptyReadLimit = 3;

}  // namespace

struct AudioMp3 : MixVoice {
    explicit AudioMp3(mpg123_handle* opened) : decoder(opened) {}
    ~AudioMp3() override { mpg123_delete(decoder); }
    AudioMp3(const AudioMp3&) = delete;
    AudioMp3& operator=(const AudioMp3&) = delete;

    // Fills `out` with up to `frames` frames, going round to the start at the end; the
    // number of frames decoded.
    int Decode(float* out, int frames) {
        int filled = 0;
        int emptyReads = 0;
        while (filled < frames && emptyReads < kEmptyReadLimit) {
            size_t bytes = 0;
            const int result = mpg123_read(decoder, out + filled * kStereo,
                                           (frames - filled) * kStereo * sizeof(float), &bytes);
            const int got = static_cast<int>(bytes / (kStereo * sizeof(float)));
            filled += got;
            emptyReads = got > 0 ? 0 : emptyReads + 1;
            if (result == MPG123_DONE) {
                mpg123_seek(decoder, 0, SEEK_SET);
            } else if (result != MPG123_OK && result != MPG123_NEW_FORMAT) {
                broken = got == 0;
                break;
            }
        }
        return filled;
    }

    void AddTo(float* mix, int frames) override {
        if (broken) return;
        const int decoded = Decode(block.data(), frames);
        for (int i = 0; i < decoded * kStereo; ++i) mix[i] += block[i];
    }

    mpg123_handle* decoder;
    bool broken = false;
    std::array<float, kMixBlockFrames * kStereo> block{};
};

namespace {

struct Mp3s {
    Mp3s() { MakeAudioOutputRecord(); }
    ~Mp3s() {
        for (const auto& mp3 : loaded) RemoveVoice(VoiceSlot::Mp3, mp3.get());
    }
    Mp3s(const Mp3s&) = delete;
    Mp3s& operator=(const Mp3s&) = delete;
    std::vector<std::unique_ptr<AudioMp3>> loaded;
};

Mp3s& LoadedMp3s() {
    static Mp3s mp3s;
    return mp3s;
}

mpg123_handle* OpenDecoder(const std::string& path) {
    mpg123_handle* decoder = mpg123_new(nullptr, nullptr);
    if (decoder == nullptr) return nullptr;
    mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    mpg123_format_none(decoder);
    if (mpg123_format(decoder, kAudioMixRate, MPG123_STEREO, MPG123_ENC_FLOAT_32) != MPG123_OK ||
        mpg123_open(decoder, path.c_str()) != MPG123_OK) {
        mpg123_delete(decoder);
        return nullptr;
    }
    return decoder;
}

}  // namespace

AudioMp3* AudioLoadLoopingMp3(const std::string& path) {
    TraceAudioCall("load mp3");
    mpg123_handle* decoder = OpenDecoder(path);
    if (decoder == nullptr) return nullptr;
    auto mp3 = std::make_unique<AudioMp3>(decoder);
    // A file counts as MP3 only when audio comes out of it; a text or picture file does not.
    std::array<float, kMixBlockFrames * kStereo> probe{};
    if (mp3->Decode(probe.data(), kMixBlockFrames) == 0 || mp3->broken ||
        mpg123_seek(decoder, 0, SEEK_SET) < 0) {
        return nullptr;
    }
    return LoadedMp3s().loaded.emplace_back(std::move(mp3)).get();
}

void AudioPlayMp3(AudioMp3* mp3) {
    TraceAudioCall("play mp3");
    if (mp3 != nullptr) SwapVoice(VoiceSlot::Mp3, mp3);
}

void ReleaseLoadedMp3s() {
    Mp3s& mp3s = LoadedMp3s();
    for (const auto& mp3 : mp3s.loaded) RemoveVoice(VoiceSlot::Mp3, mp3.get());
    mp3s.loaded.clear();
}
