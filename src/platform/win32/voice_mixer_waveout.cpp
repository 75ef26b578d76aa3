// Realises the shared output of voice_mixer.h with the system's wave output (waveOut, the
// wave mapper's default device): a thread of its own opens the device and keeps kQueuedBlocks
// blocks queued, refilling each from the mixing pass of the voice slots as the device hands it
// back. The device signals an event for every block it finishes, so the thread sleeps between.
//
// The device opens on that thread, waited for at most kDeviceOpenWait, as on every system: the
// caller is the show's set-up with the screen taken, and a driver that never answers must not
// hold it. An opening given up on finishes by itself and closes what it opened; until then
// every acquisition fails at once.
// Leaves out: device choice and volume control.
#include <windows.h>
// After windows.h, whose types it uses without including it.
#include <mmsystem.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/audio_engine.h"
#include "platform/portable/voice_mixer.h"
#include "platform/win32/unique_handle.h"

namespace {

constexpr int kBitsPerSample = 16;
// Four blocks of 23 ms: enough to ride out a frame that keeps the machine busy, little enough
// that a bang follows its event at once.
constexpr int kQueuedBlocks = 4;

enum class PlaybackState { Opening, Playing, Failed, Finished };

// One opening of the device, shared by its thread and the callers that wait for it.
struct Playback {
    std::mutex lock;
    std::condition_variable changed;
    PlaybackState state = PlaybackState::Opening;
    bool givenUp = false;
    bool stopping = false;
    // Auto-reset: set by the device for each finished block, and by a caller to stop.
    UniqueHandle wake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
};

using Block = std::array<std::int16_t, kMixBlockFrames * kOutputChannels>;

struct Output {
    Output() { MakeVoiceSlots(); }
    // An output still playing at exit (a run that never shut its show down) stops its thread
    // before the slots it mixes go away.
    ~Output();

    // The last opening; only opening and closing touch it, one at a time.
    std::shared_ptr<Playback> playback;
};

Output& TheOutput() {
    static Output output;
    return output;
}

void SetState(Playback& playback, PlaybackState state) {
    const std::lock_guard hold(playback.lock);
    playback.state = state;
    playback.changed.notify_all();
}

bool OpenDevice(Playback& playback, HWAVEOUT* device) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = kOutputChannels;
    format.nSamplesPerSec = kAudioMixRate;
    format.wBitsPerSample = kBitsPerSample;
    format.nBlockAlign = kOutputChannels * kBitsPerSample / 8;
    format.nAvgBytesPerSec = kAudioMixRate * format.nBlockAlign;
    const bool opened =
        waveOutOpen(device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(playback.wake.get()),
                    0, CALLBACK_EVENT) == MMSYSERR_NOERROR;
    const std::lock_guard hold(playback.lock);
    playback.state = opened && !playback.givenUp ? PlaybackState::Playing : PlaybackState::Failed;
    playback.changed.notify_all();
    if (opened && playback.givenUp) waveOutClose(*device);
    return playback.state == PlaybackState::Playing;
}

bool Stopping(Playback& playback) {
    const std::lock_guard hold(playback.lock);
    return playback.stopping;
}

void Queue(HWAVEOUT device, WAVEHDR& header, Block& block) {
    MixVoices(block.data(), kMixBlockFrames);
    waveOutWrite(device, &header, sizeof header);
}

void PlayUntilStopped(Playback& playback, HWAVEOUT device) {
    std::array<Block, kQueuedBlocks> blocks{};
    std::array<WAVEHDR, kQueuedBlocks> headers{};
    for (int i = 0; i < kQueuedBlocks; ++i) {
        headers[i].lpData = reinterpret_cast<LPSTR>(blocks[i].data());
        headers[i].dwBufferLength = sizeof(Block);
        waveOutPrepareHeader(device, &headers[i], sizeof(WAVEHDR));
        Queue(device, headers[i], blocks[i]);
    }
    while (!Stopping(playback)) {
        WaitForSingleObject(playback.wake.get(), INFINITE);
        for (int i = 0; i < kQueuedBlocks && !Stopping(playback); ++i) {
            if ((headers[i].dwFlags & WHDR_DONE) != 0) Queue(device, headers[i], blocks[i]);
        }
    }
    // Reset hands every queued block back, so none is in the device's hands when freed.
    waveOutReset(device);
    for (WAVEHDR& header : headers) waveOutUnprepareHeader(device, &header, sizeof header);
    waveOutClose(device);
}

void RunPlayback(std::shared_ptr<Playback> playback) {
    // Above the frame thread: a busy frame must not leave the device without a block.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    HWAVEOUT device = nullptr;
    if (OpenDevice(*playback, &device)) {
        PlayUntilStopped(*playback, device);
        SetState(*playback, PlaybackState::Finished);
    }
}

bool StartPlayback(Output& output) {
    if (output.playback != nullptr) {
        const std::lock_guard hold(output.playback->lock);
        if (output.playback->state == PlaybackState::Opening) return false;
    }
    auto playback = std::make_shared<Playback>();
    if (!playback->wake.valid()) return false;
    output.playback = playback;
    std::thread(RunPlayback, playback).detach();
    std::unique_lock hold(playback->lock);
    if (!playback->changed.wait_for(hold, kDeviceOpenWait,
                                    [&] { return playback->state != PlaybackState::Opening; })) {
        playback->givenUp = true;
        return false;
    }
    return playback->state == PlaybackState::Playing;
}

void StopPlayback(Playback& playback) {
    std::unique_lock hold(playback.lock);
    if (playback.state != PlaybackState::Playing) return;
    playback.stopping = true;
    SetEvent(playback.wake.get());
    playback.changed.wait(hold, [&] { return playback.state == PlaybackState::Finished; });
}

Output::~Output() {
    if (playback != nullptr) StopPlayback(*playback);
}

}  // namespace

void MakeAudioOutputRecord() {
    TheOutput();
}

bool OpenOutputDevice() {
    return StartPlayback(TheOutput());
}

void CloseOutputDevice() {
    StopPlayback(*TheOutput().playback);
}
