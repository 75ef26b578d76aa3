// Realises the shared output of voice_mixer.h with the system's wave output (waveOut, the
// wave mapper's default device): a thread of its own opens the device and keeps kQueuedBlocks
// blocks queued, refilling each from the mixing pass of the voice slots as the device hands it
// back. The device signals an event for every block it finishes, so the thread sleeps between.
//
// The device opens on that thread, waited for at most kDeviceOpenWait, and stopping waits for
// the thread at most kDeviceCloseWait, as on every system (bounded_wait.h): the caller is the
// show's set-up or tear-down with the screen taken, and a driver that never answers must not
// hold it. An opening given up on finishes by itself and closes what it opened, a stop given
// up on finishes whenever the driver lets it; until then every acquisition fails at once.
// Leaves out: device choice and volume control.
#include <windows.h>
// After windows.h, whose types it uses without including it.
#include <mmsystem.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/audio_engine.h"
#include "platform/portable/bounded_wait.h"
#include "platform/portable/voice_mixer.h"
#include "platform/win32/unique_handle.h"

namespace {

constexpr int kBitsPerSample = 16;
// Four blocks of 23 ms: enough to ride out a frame that keeps the machine busy, little enough
// that a bang follows its event at once.
constexpr int kQueuedBlocks = 4;

// A driver closes its device in milliseconds; the user waits for the screen meanwhile.
constexpr auto kDeviceCloseWait = std::chrono::milliseconds(500);

// One opening of the device, shared by its thread and the callers that wait for it.
struct Playback {
    WorkEnd opened;
    bool playing = false;  // the opening's result, read once it has reported
    WorkEnd ended;
    std::mutex lock;
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

// True when the device opened and its caller still waits for it; a device whose caller gave
// up is closed again at once.
bool OpenDevice(Playback& playback, HWAVEOUT* device) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = kOutputChannels;
    format.nSamplesPerSec = kAudioMixRate;
    format.wBitsPerSample = kBitsPerSample;
    format.nBlockAlign = kOutputChannels * kBitsPerSample / 8;
    format.nAvgBytesPerSec = kAudioMixRate * format.nBlockAlign;
    playback.playing =
        waveOutOpen(device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(playback.wake.get()),
                    0, CALLBACK_EVENT) == MMSYSERR_NOERROR;
    const bool awaited = playback.opened.Report();
    if (playback.playing && !awaited) waveOutClose(*device);
    return playback.playing && awaited;
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

void RunPlayback(const std::shared_ptr<Playback>& playback) {
    // Above the frame thread: a busy frame must not leave the device without a block.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    HWAVEOUT device = nullptr;
    if (OpenDevice(*playback, &device)) PlayUntilStopped(*playback, device);
    playback->ended.Report();
}

bool StartPlayback(Output& output) {
    // An opening or a stop given up on that has not ended yet.
    if (output.playback != nullptr && !output.playback->ended.Reported()) return false;
    auto playback = std::make_shared<Playback>();
    if (!playback->wake.valid()) return false;
    output.playback = playback;
    StartUnjoined([playback] { RunPlayback(playback); });
    if (!playback->opened.AwaitWithin(kDeviceOpenWait)) return false;
    // A failed opening's thread ends at once; the next acquisition may try again.
    if (!playback->playing) playback->ended.AwaitWithin(kDeviceCloseWait);
    return playback->playing;
}

void StopPlayback(Playback& playback) {
    if (!playback.opened.Reported() || !playback.playing) return;
    {
        const std::lock_guard hold(playback.lock);
        playback.stopping = true;
    }
    SetEvent(playback.wake.get());
    playback.ended.AwaitWithin(kDeviceCloseWait);
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
