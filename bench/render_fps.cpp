// Frames per second of the offscreen show at 640 x 480 for each detail level, and the share
// of frame time spent outside the GL driver.
//
// Method: each stretch of the timeline is drawn twice from the same starting state. The GL
// pass times RenderShowFrame plus glFinish per frame (everything: our code, GLU, the driver's
// command handling and llvmpipe's rasterisation). The GL-less pass releases the context, so
// every GL call returns at once, and times RenderShowFrame alone: that is the show's own CPU
// work (our code and GLU's tessellation). The share outside the driver is the ratio of the
// two medians. Figures are medians of one run; nothing is asserted.
//
// Usage: bench_render_fps [install folder]. Without an argument: the recorded install folder,
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

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kFramesPerStretch = 150;
constexpr int kWarmUpFrames = 100;

struct DetailChoice {
    const char* name;
    std::uint32_t part;
};
constexpr DetailChoice kDetails[] = {
    {"low", kPartLow}, {"medium", kPartMedium}, {"high", kPartHigh}};

// Everything a frame changes, so that a stretch can be drawn again from the same start.
struct Snapshot {
    ShowState state;
    std::uint32_t random = 0;
    std::vector<RingParticle> ring;
    std::vector<Comet> comets;
    std::vector<Debris> debris;
    std::vector<float> creditY;
};

template <typename T>
std::vector<T> Copy(const T* table, int count) {
    return table != nullptr ? std::vector<T>(table, table + count) : std::vector<T>{};
}

template <typename T>
void Restore(const std::vector<T>& saved, T* table) {
    if (table != nullptr) std::copy(saved.begin(), saved.end(), table);
}

Snapshot Take() {
    const ShowState& s = showState;
    return {s,
            RandomState(),
            Copy(s.ringParticles, s.ringArmCount * 3),
            Copy(s.comets, s.cometCount),
            Copy(s.debris, s.debrisCount),
            Copy(s.creditY, kCreditLineCount)};
}

void Put(const Snapshot& snapshot) {
    showState = snapshot.state;
    SetRandomState(snapshot.random);
    Restore(snapshot.ring, showState.ringParticles);
    Restore(snapshot.comets, showState.comets);
    Restore(snapshot.debris, showState.debris);
    Restore(snapshot.creditY, showState.creditY);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// Median milliseconds per frame over one stretch; with `finish` the GPU work is waited for.
double TimeFrames(bool finish) {
    std::vector<double> times;
    for (int i = 0; i < kFramesPerStretch; ++i) {
        const auto start = std::chrono::steady_clock::now();
        RenderShowFrame();
        if (finish) glFinish();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        times.push_back(took.count());
    }
    return Median(times);
}

struct StretchTimes {
    double withGl;
    double withoutGl;
};

StretchTimes TimeStretch(OffscreenGlContext* context) {
    const Snapshot start = Take();
    SetOffscreenGlContextCurrent(context, false);
    const double withoutGl = TimeFrames(false);
    SetOffscreenGlContextCurrent(context, true);
    Put(start);
    return {TimeFrames(true), withoutGl};
}

void JumpToSun() {
    showState.showFrame = 5600;
    showState.sunTicks = 600;
    showState.spinAngle = 600 % 360;
    showState.slowAngle = 60.0f;
    showState.lastBangStep = 120;
}

void JumpToBlast() {
    showState.showFrame = 6012;
    showState.sunPhase = false;
    showState.sunTicks = 5 * kRayCount + 1;
    for (int i = 0; i < kWarmUpFrames; ++i) RenderShowFrame();
}

void Report(const char* detail, const char* stretch, StretchTimes times) {
    std::printf("%-7s %-14s %8.1f fps  %7.2f ms/frame  %6.2f%% outside the GL driver\n", detail,
                stretch, 1000.0 / times.withGl, times.withGl,
                100.0 * times.withoutGl / times.withGl);
}

void BenchDetail(const DetailChoice& detail, OffscreenGlContext* context) {
    settings.part = detail.part;
    showState = ShowState{};
    SetupShow(0);
    showState.showFrame = 2000;
    Report(detail.name, "opening", TimeStretch(context));
    JumpToSun();
    Report(detail.name, "sun", TimeStretch(context));
    JumpToBlast();
    Report(detail.name, "blast", TimeStretch(context));
    showState.showFrame = 7100;
    Report(detail.name, "blast+credits", TimeStretch(context));
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
        std::fputs("bench_render_fps: no install folder, so the show has no data\n", stderr);
        return 1;
    }
    LoadSaverSettings();
    settings.useblur = 1;
    settings.pmusic = settings.pmp3 = settings.pcd = settings.psound = 0;
    OffscreenGlContext* context = CreateOffscreenGlContext();
    if (context == nullptr || !EnterVirtualMode(kWidth, kHeight, 32)) {
        std::fputs("bench_render_fps: no offscreen OpenGL context\n", stderr);
        return 1;
    }
    SetProjection(kWidth, kHeight);
    std::printf("install folder: %s\n", InstallFolder());
    std::printf("offscreen show at %dx%d, blur on, median of %d frames per stretch\n", kWidth,
                kHeight, kFramesPerStretch);
    for (const DetailChoice& detail : kDetails) BenchDetail(detail, context);
    LeaveVirtualMode();
    DestroyOffscreenGlContext(context);
    return 0;
}
