// The voice mixer: the one output stream that every sound of the process shares (a system's
// device: SDL's in voice_mixer_sdl.cpp, Windows' wave output in win32/voice_mixer_waveout.cpp),
// and the voices it mixes (voice_slots.cpp, the same for every device).
//
// The output opens when its first user acquires it and closes when the last releases it, so
// the music, the CD and the effects each hold it only while they need it. It runs at
// kAudioMixRate in 16-bit stereo; SDL converts for devices that want something else.
//
// A voice sits in one of a fixed set of slots; the output's thread asks every filled slot
// for each block it mixes. The slots are guarded by one lock that the mixing pass holds
// while it runs, so SwapVoice and RemoveVoice wait at most for one pass, and once they
// return the old voice is no longer touched by the output and may be destroyed. The frame
// thread never calls either.
#pragma once
#include <chrono>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// Stereo frames a voice is asked for at most per call.
inline constexpr int kMixBlockFrames = 1024;
// The output's channels: stereo, interleaved.
inline constexpr int kOutputChannels = 2;
// How long an acquisition waits for the device to open: a sound server on the same machine
// answers in milliseconds, and one that has not answered in this time counts as no device, so
// the show goes on without sound.
inline constexpr auto kDeviceOpenWait = std::chrono::seconds(2);

class MixVoice {
  public:
    virtual ~MixVoice() = default;
    // Adds `frames` (at most kMixBlockFrames) interleaved stereo frames, each sample in
    // -1..1, onto `mix`. Runs on the output's thread.
    virtual void AddTo(float* mix, int frames) = 0;
};

enum class VoiceSlot { Song, Mp3, Cd, Effect };

// Makes the output's own record now. A record of voices made after it is destroyed before it
// at exit, so its destructor can still take its voices out of the mix.
void MakeAudioOutputRecord();

// True once the output is open (opening it on the first call); false when no device opens.
// Each true result takes one ReleaseAudioOutput.
bool AcquireAudioOutput();
void ReleaseAudioOutput();

// Puts `voice` (or nothing) in `slot` and returns the voice that was there.
MixVoice* SwapVoice(VoiceSlot slot, MixVoice* voice);
// Empties `slot` when `voice` is in it.
void RemoveVoice(VoiceSlot slot, const MixVoice* voice);

// The loaded voices of one kind, which their callers hold only as handles: each is taken out
// of its slot before it is destroyed, and those never freed are released at exit. The first
// use makes the output's record first, so that the output outlives them.
template <typename Voice>
class LoadedVoices {
  public:
    explicit LoadedVoices(VoiceSlot slot) : slot_(slot) { MakeAudioOutputRecord(); }
    ~LoadedVoices() { FreeAll(); }
    LoadedVoices(const LoadedVoices&) = delete;
    LoadedVoices& operator=(const LoadedVoices&) = delete;

    Voice* Keep(std::unique_ptr<Voice> voice) { return held_.emplace_back(std::move(voice)).get(); }
    void Free(const Voice* voice) {
        RemoveVoice(slot_, voice);
        std::erase_if(held_, [voice](const auto& held) { return held.get() == voice; });
    }
    void FreeAll() {
        for (const auto& voice : held_) RemoveVoice(slot_, voice.get());
        held_.clear();
    }

  private:
    VoiceSlot slot_;
    std::vector<std::unique_ptr<Voice>> held_;
};

// The mixing pass that the device runs on the output's thread: the next `frames` of every
// filled slot, summed in floating point and clipped once into interleaved 16-bit stereo, with
// the slots' lock held throughout.
void MixVoices(std::int16_t* out, int frames);
// Makes the slots' record; the device's record calls it first, so that the slots outlive it.
void MakeVoiceSlots();

// Each system's device, which the acquisitions above count users for: the first acquisition
// opens it (true once it plays the mixing pass; false when no device opens), the last release
// closes it. The count's lock is held around both, so neither runs beside itself or the other.
bool OpenOutputDevice();
void CloseOutputDevice();

// Each system's backend: silences the sound libraries below the output, whose diagnostics are
// no message of this program and must never reach the terminal of a user or of a screen-saver
// host (on a machine without a sound card ALSA alone writes eight lines for one failed
// opening); the program's own messages still do. Called before the output first loads a sound
// driver.
void KeepSoundLibrariesQuiet();
