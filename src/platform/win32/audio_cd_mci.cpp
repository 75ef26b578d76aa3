// Realises the CD calls of audio_engine.h with MCI's cdaudio device, which plays the disc
// through the system itself, beside the output the other voices share. A thread of its own
// finds the first drive holding an audio disc, starts it at the asked track, lets it play to
// the end of the disc and stops and closes it when told; MCI's commands all come from that one
// thread, which opened the device. A drive that hangs while it is opened holds that thread,
// never the caller: stopping waits for it at most kPlayerStopWait and then leaves it to end
// by itself. The MCI commands are ASCII strings of our own making (mciSendStringA).
// Leaves out: track skipping and volume, CD-Text, and the disc images the Linux tests use.
#include <windows.h>
// After windows.h, whose types it uses without including it.
#include <mmsystem.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "platform/audio_engine.h"
#include "platform/hook_points.h"
#include "platform/portable/bounded_wait.h"

namespace {

constexpr auto kPlayerStopWait = std::chrono::milliseconds(500);
constexpr const char* kAlias = "vostrel_cd";
constexpr char kFirstDrive = 'A';
constexpr char kLastDrive = 'Z';
constexpr int kReplyLength = 128;

// What the player thread shares with the caller: the stop it waits for, and its end.
struct CdPlaying {
    std::mutex lock;
    std::condition_variable stopAsked;
    bool stop = false;
    WorkEnd end;
};

// The reply of one MCI command; empty when it failed.
std::string Mci(const std::string& command) {
    char reply[kReplyLength] = {};
    if (mciSendStringA(command.c_str(), reply, sizeof reply, nullptr) != 0) return {};
    return reply[0] != '\0' ? reply : "ok";
}

bool HoldsAudioDisc() {
    const std::string alias = kAlias;
    return Mci("status " + alias + " media present") == "true" &&
           Mci("status " + alias + " type track 1") == "audio";
}

// Opens the first drive that holds an audio disc under the alias; false when none does.
bool OpenAudioDrive() {
    for (char drive = kFirstDrive; drive <= kLastDrive; ++drive) {
        const std::string root = std::string(1, drive) + ":";
        if (GetDriveTypeA((root + "\\").c_str()) != DRIVE_CDROM) continue;
        if (Mci("open " + root + " type cdaudio alias " + kAlias + " shareable wait").empty()) {
            continue;
        }
        if (HoldsAudioDisc()) return true;
        Mci(std::string("close ") + kAlias);
    }
    return false;
}

void PlayUntilStopped(const std::shared_ptr<CdPlaying>& playing, int track) {
    if (OpenAudioDrive()) {
        const std::string alias = kAlias;
        Mci("set " + alias + " time format tmsf");
        Mci("play " + alias + " from " + std::to_string(track));
        std::unique_lock hold(playing->lock);
        playing->stopAsked.wait(hold, [&] { return playing->stop; });
        hold.unlock();
        Mci("stop " + alias);
        Mci("close " + alias);
    }
    playing->end.Report();
}

struct CdPlayer {
    CdPlayer() = default;
    ~CdPlayer() { Stop(); }
    CdPlayer(const CdPlayer&) = delete;
    CdPlayer& operator=(const CdPlayer&) = delete;

    void Play(int track) {
        Stop();
        playing = std::make_shared<CdPlaying>();
        StartUnjoined([playing = playing, track] { PlayUntilStopped(playing, track); });
    }

    void Stop() {
        if (playing == nullptr) return;
        {
            const std::lock_guard hold(playing->lock);
            playing->stop = true;
            playing->stopAsked.notify_all();
        }
        playing->end.AwaitWithin(kPlayerStopWait);
        playing.reset();
    }

    // Present exactly while a player thread runs.
    std::shared_ptr<CdPlaying> playing;
};

CdPlayer& ThePlayer() {
    static CdPlayer player;
    return player;
}

}  // namespace

void AudioCdPlayToEnd(int track) {
    WatchAudioEngineCall("cd play");
    ThePlayer().Play(track);
}

void AudioCdStop() {
    WatchAudioEngineCall("cd stop");
    ThePlayer().Stop();
}
