// Realises the song calls of audio_engine.h with libopenmpt: the module file is read whole,
// parsed once and rendered in the output's thread, repeating for ever as a module player
// does (the module's own loop point decides where it comes back to).
// Leaves out: interpolation and stereo-separation choices (libopenmpt's defaults).
#include <libopenmpt/libopenmpt.h>

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

#include "platform/audio_engine.h"
#include "platform/data_files.h"
#include "platform/hook_points.h"
#include "platform/portable/voice_mixer.h"

struct AudioSong : MixVoice {
    explicit AudioSong(openmpt_module* loaded) : module(loaded) {}
    ~AudioSong() override { openmpt_module_destroy(module); }
    AudioSong(const AudioSong&) = delete;
    AudioSong& operator=(const AudioSong&) = delete;

    void AddTo(float* mix, int frames) override {
        const size_t rendered = openmpt_module_read_interleaved_float_stereo(module, kAudioMixRate,
                                                                             frames, block.data());
        for (size_t i = 0; i < rendered * 2; ++i) mix[i] += block[i];
    }

    openmpt_module* module;
    std::array<float, kMixBlockFrames * 2> block{};
};

namespace {

constexpr int kRepeatForever = -1;
// Modules with hours of sampled instruments stay well below this (the show's own is 0.6 MiB);
// anything larger is no module worth holding whole in memory, and is refused as unreadable.
constexpr std::size_t kLargestModule = std::size_t{64} << 20;

LoadedVoices<AudioSong>& LoadedSongs() {
    static LoadedVoices<AudioSong> songs(VoiceSlot::Song);
    return songs;
}

}  // namespace

AudioSong* AudioLoadSong(const std::string& path) {
    WatchAudioEngineCall("load song");
    std::vector<char> bytes;
    if (!ReadRegularFile(path, kLargestModule, bytes)) return nullptr;
    openmpt_module* module = openmpt_module_create_from_memory2(
        bytes.data(), bytes.size(), openmpt_log_func_silent, nullptr, openmpt_error_func_ignore,
        nullptr, nullptr, nullptr, nullptr);
    if (module == nullptr) return nullptr;
    openmpt_module_set_repeat_count(module, kRepeatForever);
    return LoadedSongs().Keep(std::make_unique<AudioSong>(module));
}

void AudioPlaySong(AudioSong* song) {
    WatchAudioEngineCall("play song");
    if (song != nullptr) SwapVoice(VoiceSlot::Song, song);
}

void AudioStopSong(AudioSong* song) {
    WatchAudioEngineCall("stop song");
    RemoveVoice(VoiceSlot::Song, song);
}

void AudioFreeSong(AudioSong* song) {
    WatchAudioEngineCall("free song");
    LoadedSongs().Free(song);
}
