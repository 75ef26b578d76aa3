// Realises the shared output of voice_mixer.h with SDL2's audio device, whose callback runs
// the mixing pass of the voice slots.
//
// The device opens and closes on threads of their own (bounded_wait.h), waited for at most
// kDeviceOpenWait and kDeviceCloseWait: a sound server that accepts the connection and never
// answers holds SDL for half a minute per driver it tries, and one that stops answering while
// it plays (a frozen or stopped server) holds SDL's closing, which joins its audio thread,
// until it answers again. The caller is the show's set-up or tear-down with the screen taken.
// An opening given up on finishes by itself and closes what it opened; a closing given up on
// finishes whenever the server lets it. Until either has finished, every acquisition fails at
// once. The process may end meanwhile: SDL's audio thread never calls the mixing pass again
// once closing has begun, and nothing at exit waits for it (this file never calls SDL_Quit,
// which would).
// SDL leaves the process's signals alone (its handlers would swallow SIGTERM and SIGINT).
// Leaves out: device choice (SDL's default device of its chosen driver) and volume control.
#include "platform/portable/voice_mixer.h"

#include <SDL.h>

#include <chrono>
#include <memory>
#include <utility>

#include "platform/audio_engine.h"
#include "platform/portable/bounded_wait.h"

namespace {

// A healthy server closes a stream in milliseconds; the user waits for the screen meanwhile.
constexpr auto kDeviceCloseWait = std::chrono::milliseconds(500);

// One opening or closing of the device, shared by its thread and the caller that waits.
struct DeviceCall {
    WorkEnd end;
    SDL_AudioDeviceID device = 0;  // the opening's result, read once it has reported
};

struct Output {
    Output() { MakeVoiceSlots(); }

    SDL_AudioDeviceID device = 0;
    // The last opening and closing; only opening and closing touch them, one at a time.
    std::shared_ptr<DeviceCall> lastOpening;
    std::shared_ptr<DeviceCall> lastClosing;

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

void CloseDeviceNow(SDL_AudioDeviceID device) {
    SDL_CloseAudioDevice(device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// Runs on the opening's own thread. The device starts at once: a paused device still sends
// silence, and how long the caller takes to wake would show as a gap of it at the music's
// start; until the caller has the device no voice is in the mix. When the caller has given
// up, the thread closes the device again.
void OpenStartedDevice(const std::shared_ptr<DeviceCall>& opening) {
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
    if (device != 0) SDL_PauseAudioDevice(device, 0);
    opening->device = device;
    if (!opening->end.Report() && device != 0) CloseDeviceNow(device);
}

bool StillRunning(const std::shared_ptr<DeviceCall>& call) {
    return call != nullptr && !call->end.Reported();
}

bool OpenDevice(Output& output) {
    if (StillRunning(output.lastOpening) || StillRunning(output.lastClosing)) return false;
    KeepSoundLibrariesQuiet();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    auto opening = std::make_shared<DeviceCall>();
    output.lastOpening = opening;
    StartUnjoined([opening] { OpenStartedDevice(opening); });
    if (!opening->end.AwaitWithin(kDeviceOpenWait)) return false;
    output.device = opening->device;
    return output.device != 0;
}

void CloseDevice(Output& output) {
    auto closing = std::make_shared<DeviceCall>();
    closing->device = std::exchange(output.device, 0);
    output.lastClosing = closing;
    StartUnjoined([closing] {
        CloseDeviceNow(closing->device);
        closing->end.Report();
    });
    closing->end.AwaitWithin(kDeviceCloseWait);
}

}  // namespace

void MakeAudioOutputRecord() {
    TheOutput();
}

bool OpenOutputDevice() {
    return OpenDevice(TheOutput());
}

void CloseOutputDevice() {
    CloseDevice(TheOutput());
}
