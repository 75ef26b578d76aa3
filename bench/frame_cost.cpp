// What a frame of the offscreen show costs over one whole cycle (frames 0 to 9499), per
// detail level at 640 x 480 and 1024 x 768 with blur on: the median and the worst frame (and
// which frame that was), each scene's share of the cycle, and how much of it is the show's own
// code.
//
// Method: the cycle is drawn twice from the same starting state. The GL pass times
// RenderShowFrame plus glFinish per frame (everything: our code, the driver's command
// handling and llvmpipe's rasterisation). The GL-less pass releases the context, so every GL
// call returns at once, and times RenderShowFrame alone: that is the show's own CPU work (our
// code and its meshes). Figures are from one run; nothing is asserted. The table is
// printed in Markdown, as docs/frame-cost.md shows it.
//
// Usage: bench_frame_cost [install folder]. Without an argument: the recorded install folder,
// else the one the build makes (VOSTREL_BUILD_DIR/data, or data beside the bench's folder).
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "display/projection.h"
#include "display/virtual_mode.h"
#include "platform/offscreen_gl.h"
#include "scratch_install.h"
#include "settings/install_folder.h"
#include "settings/settings.h"
#include "show/frame_driver.h"
#include "show/random.h"
#include "show/show_setup.h"
#include "show/show_state.h"
#include "show_snapshot.h"

namespace {

struct DetailChoice {
    const char* name;
    std::uint32_t part;
};
constexpr DetailChoice kDetails[] = {
    {"low", kPartLow}, {"medium", kPartMedium}, {"high", kPartHigh}};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// The scenes a frame belongs to, as the frame driver draws them.
enum Scene { kOpening, kSun, kBlast, kBlastWithCredits, kSceneCount };
constexpr const char* kSceneNames[kSceneCount] = {"opening", "sun", "blast", "blast + credits"};

Scene SceneOf(int frame, bool sunPhase) {
    if (frame < kSceneStartFrame) return kOpening;
    if (sunPhase) return kSun;
    const bool credits = frame > kCreditsAfterFrame && frame < kCreditsBeforeFrame;
    return credits && settings.showcred != 0 ? kBlastWithCredits : kBlast;
}

struct FrameTime {
    Scene scene;
    double milliseconds;
};

// One whole cycle; with `finish` the GPU work is waited for.
std::vector<FrameTime> TimeCycle(bool finish) {
    std::vector<FrameTime> times;
    times.reserve(kCycleEndFrame);
    for (int i = 0; i < kCycleEndFrame; ++i) {
        const Scene scene = SceneOf(showState.showFrame, showState.sunPhase);
        const auto start = std::chrono::steady_clock::now();
        RenderShowFrame();
        if (finish) glFinish();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        times.push_back({scene, took.count()});
    }
    return times;
}

struct SceneFigures {
    int frames = 0;
    double total = 0.0;
    double ownTotal = 0.0;
    double worst = 0.0;
    int worstFrame = 0;
    std::vector<double> times;

    void Add(int frame, double milliseconds, double ownMilliseconds) {
        frames += 1;
        total += milliseconds;
        ownTotal += ownMilliseconds;
        times.push_back(milliseconds);
        if (milliseconds > worst) {
            worst = milliseconds;
            worstFrame = frame;
        }
    }
};

void PrintRow(const char* size, const char* detail, const char* scene, const SceneFigures& f,
              double cycleTotal) {
    std::printf("| %s | %s | %s | %d | %.2f | %.2f (%d) | %.1f %% | %.1f %% |\n", size, detail,
                scene, f.frames, Median(f.times), f.worst, f.worstFrame,
                100.0 * f.total / cycleTotal, 100.0 * f.ownTotal / f.total);
}

// The cycle starts at frame 0, so a frame's index in the timings is its number.
void Report(const char* size, const char* detail, const std::vector<FrameTime>& withGl,
            const std::vector<FrameTime>& withoutGl) {
    SceneFigures cycle;
    SceneFigures scenes[kSceneCount];
    for (std::size_t i = 0; i < withGl.size(); ++i) {
        const int frame = static_cast<int>(i);
        cycle.Add(frame, withGl[i].milliseconds, withoutGl[i].milliseconds);
        scenes[withGl[i].scene].Add(frame, withGl[i].milliseconds, withoutGl[i].milliseconds);
    }
    PrintRow(size, detail, "whole cycle", cycle, cycle.total);
    for (int scene = 0; scene < kSceneCount; ++scene) {
        if (scenes[scene].frames > 0) {
            PrintRow(size, detail, kSceneNames[scene], scenes[scene], cycle.total);
        }
    }
}

void BenchDetail(const char* size, const DetailChoice& detail, OffscreenGlContext* context) {
    settings.part = detail.part;
    showState = ShowState{};
    SetupShow(0);
    const ShowSnapshot start = ShowSnapshot::Take();
    SetOffscreenGlContextCurrent(context, false);
    const std::vector<FrameTime> withoutGl = TimeCycle(false);
    SetOffscreenGlContextCurrent(context, true);
    start.Put();
    const std::vector<FrameTime> withGl = TimeCycle(true);
    Report(size, detail.name, withGl, withoutGl);
    std::fflush(stdout);  // a whole cycle takes a while: show each table row as it comes
    ShutdownShow();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        LookUpInstallFolderAt(argv[1]);
    } else {
        LookUpDataFolder();
        if (!installFolderFound) LookUpInstallFolderAt(BuildInstallFolder());
    }
    if (!installFolderFound) {
        std::fputs("bench_frame_cost: no install folder, so the show has no data\n", stderr);
        return 1;
    }
    LoadSaverSettings();
    settings.useblur = 1;
    settings.pmusic = settings.pmp3 = settings.pcd = settings.psound = 0;
    OffscreenGlContext* context = CreateOffscreenGlContext();
    if (context == nullptr) {
        std::fputs("bench_frame_cost: no offscreen OpenGL context\n", stderr);
        return 1;
    }
    std::printf("install folder: %s; renderer: %s\n\n", InstallFolder(),
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::printf(
        "| size | detail | scene | frames | median ms | worst ms (frame) | share of cycle | "
        "own code |\n|---|---|---|---|---|---|---|---|\n");
    const struct {
        const char* name;
        int width, height;
    } sizes[] = {{"640x480", 640, 480}, {"1024x768", 1024, 768}};
    for (const auto& size : sizes) {
        if (!EnterVirtualMode(size.width, size.height, 32)) continue;
        SetProjection(size.width, size.height);
        for (const DetailChoice& detail : kDetails) BenchDetail(size.name, detail, context);
        LeaveVirtualMode();
    }
    DestroyOffscreenGlContext(context);
    return 0;
}
