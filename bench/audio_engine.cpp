// What audio costs: the CPU time the process spends per second of playback of the module,
// an MP3 file and a CD image (on top of an idle output), and the longest time the frame
// thread spent in an audio call (the bangs) during a full cycle of the show with the music
// and the effects on.
//
// Method: the output is SDL's disk driver at its real-time pace, writing to a scratch file.
// For each source, the process's CPU time (all threads: the output's mixing, the CD reader)
// is taken over one-second stretches while the main thread sleeps; figures are medians of
// kStretches stretches, minus the idle output's median. The MP3 (a 20 s tone, 128 kbit/s
// mono) and the CD image (two 10 s tracks) are made here. The cycle is drawn offscreen at
// 64 x 48 from frame 0 to the restart; every PlaySoundEffect the frame driver makes is timed.
// Nothing is asserted.
//
// Usage: bench_audio_engine. The install folder is the one the build makes.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "display/projection.h"
#include "display/virtual_mode.h"
#include "platform/audio_engine.h"
#include "platform/offscreen_gl.h"
#include "platform/sound.h"
#include "platform_spies.h"
#include "scratch_install.h"
#include "settings/install_folder.h"
#include "settings/settings.h"
#include "show/frame_driver.h"
#include "show/show_setup.h"
#include "show/show_state.h"
#include "test_sounds.h"

namespace {

constexpr int kStretches = 7;
constexpr int kCycleFrames = 9500;
constexpr int kWidth = 64;
constexpr int kHeight = 48;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Median CPU milliseconds per second of playback while `start` ... `stop` play.
double CpuMsPerSecond(const std::function<void()>& start, const std::function<void()>& stop) {
    start();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // past the start-up
    std::vector<double> costs;
    for (int i = 0; i < kStretches; ++i) {
        const double cpu = CpuSeconds();
        const auto wall = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
        costs.push_back((CpuSeconds() - cpu) * 1000.0 / seconds);
    }
    stop();
    return Median(costs);
}

void BenchSources(const std::string& scratch) {
    const std::string mp3 = scratch + "/tone.mp3";
    WriteMp3(mp3, Tone(20.0, 0.5, kCaptureRate, 1));
    SetCdDrives({WriteCdImage(
        scratch, {Tone(10.0, 0.5, kCaptureRate, 2), Tone(10.0, 0.3, kCaptureRate, 2)})});
    AudioSong* song = AudioLoadSong(DataPath("\\data\\gz2.xm"));
    const double idle = CpuMsPerSecond([] { AudioInit(); }, [] { AudioClose(); });
    const double module = CpuMsPerSecond([song] { AudioInit(), AudioPlaySong(song); },
                                         [song] { AudioStopSong(song), AudioClose(); });
    const double mpeg = CpuMsPerSecond(
        [&mp3] { AudioInit(), AudioPlayMp3(AudioLoadLoopingMp3(mp3)); }, [] { AudioClose(); });
    const double cd = CpuMsPerSecond([] { AudioCdPlayToEnd(1); }, [] { AudioCdStop(); });
    if (song != nullptr) AudioFreeSong(song);
    std::printf("idle output:           %6.2f ms CPU per second of playback\n", idle);
    std::printf("module (Gz2.xm):       %6.2f ms CPU per second above idle\n", module - idle);
    std::printf("MP3 (128 kbit/s):      %6.2f ms CPU per second above idle\n", mpeg - idle);
    std::printf("CD image (paranoia):   %6.2f ms CPU per second above idle\n", cd - idle);
}

std::vector<double> effectWaits;

// Times the real call: the spy steps aside for it and comes back.
void TimeEffect(const std::string& path) {
    SetSoundEffectSpy(nullptr);
    const auto start = std::chrono::steady_clock::now();
    PlaySoundEffect(path);
    const auto stop = std::chrono::steady_clock::now();
    SetSoundEffectSpy(&TimeEffect);
    effectWaits.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
}

void BenchFullCycle() {
    OffscreenGlContext* context = CreateOffscreenGlContext();
    if (context == nullptr || !EnterVirtualMode(kWidth, kHeight, 32)) {
        std::printf("full cycle: no offscreen GL context\n");
        return;
    }
    SetProjection(kWidth, kHeight);
    settings = Settings{};
    settings.pmusic = 1;
    settings.psound = 1;
    SetupShow(0);
    SetSoundEffectSpy(&TimeEffect);
    double longestFrame = 0.0;
    for (int frame = 0; frame < kCycleFrames; ++frame) {
        const auto start = std::chrono::steady_clock::now();
        RenderShowFrame();
        longestFrame = std::max(longestFrame, std::chrono::duration<double, std::milli>(
                                                  std::chrono::steady_clock::now() - start)
                                                  .count());
    }
    SetSoundEffectSpy(nullptr);
    ShutdownShow();
    LeaveVirtualMode();
    DestroyOffscreenGlContext(context);
    const double longest =
        effectWaits.empty() ? 0.0 : *std::max_element(effectWaits.begin(), effectWaits.end());
    std::printf(
        "full cycle with music: %zu effect calls on the frame thread, median %.1f us, "
        "longest %.1f us; longest frame %.1f ms\n",
        effectWaits.size(), effectWaits.empty() ? 0.0 : Median(effectWaits), longest, longestFrame);
}

}  // namespace

int main() {
    LookUpInstallFolderAt(BuildInstallFolder());
    char pattern[] = "/tmp/vostrel-audio-bench-XXXXXX";
    const std::string scratch = mkdtemp(pattern);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (scratch + "/output.raw").c_str(), 1);
    BenchSources(scratch);
    BenchFullCycle();
    std::filesystem::remove_all(scratch);
    return 0;
}
