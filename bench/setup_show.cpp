// Times the show set-up on an offscreen context: the whole SetupShow, and its three heavy
// parts measured on their own (the eight texture loads, the two fonts, the tables with their
// random starting values). Prints medians of repeated runs at each detail level.
//
// Usage: bench_setup_show. The install folder is the recorded one, else the one the build
// makes (VOSTREL_BUILD_DIR/data, or data beside the bench's own folder), recorded for this
// run in a scratch machine key.
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "assets/textures.h"
#include "base/data_manifest.h"
#include "platform/offscreen_gl.h"
#include "scratch_install.h"
#include "settings/install_folder.h"
#include "settings/settings.h"
#include "show/bitmap_font.h"
#include "show/outline_font.h"
#include "show/particles.h"
#include "show/show_setup.h"
#include "show/show_state.h"

namespace {

constexpr int kRuns = 15;

double MedianMs(const std::function<void()>& run, const std::function<void()>& undo) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        glFinish();
        const auto start = std::chrono::steady_clock::now();
        run();
        glFinish();
        const auto stop = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
        undo();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void LoadTextures() {
    for (auto [texture, file] : {std::pair{&texStar, DataName(DataRole::StarTexture)},
                                 {&texFire, DataName(DataRole::FireTexture)},
                                 {&texStelle, DataName(DataRole::StelleTexture)},
                                 {&texStelle2, DataName(DataRole::Stelle2Texture)},
                                 {&texEnv, DataName(DataRole::EnvTexture)},
                                 {&texSun, DataName(DataRole::SunTexture)},
                                 {&texFont, DataName(DataRole::FontTexture)},
                                 {&texFront, DataName(DataRole::FrontTexture)}}) {
        texture->Load(DataPath(file).c_str(), nullptr);
    }
}

void DeleteTextures() {
    for (Texture* t :
         {&texStar, &texFire, &texStelle, &texStelle2, &texEnv, &texSun, &texFont, &texFront}) {
        t->Delete();
    }
}

void InitialiseTables() {
    InitialiseRingParticles();
    InitialiseComets();
    InitialiseDebris();
}

}  // namespace

int main() {
    LookUpDataFolder();
    if (!installFolderFound) LookUpInstallFolderAt(BuildInstallFolder());
    OffscreenGlContext* context = installFolderFound ? CreateOffscreenGlContext() : nullptr;
    if (context == nullptr) {
        std::fprintf(stderr, "bench_setup_show: no install folder or no offscreen GL context\n");
        return 1;
    }
    std::printf("install folder: %s\n", InstallFolder());
    std::printf("median of %d runs, ms\n", kRuns);
    std::printf("%-8s %10s %10s %10s %10s\n", "detail", "SetupShow", "textures", "fonts", "tables");
    const char* names[] = {"low", "medium", "high"};
    for (std::uint32_t part : {kPartLow, kPartMedium, kPartHigh}) {
        settings.part = part;
        settings.pmusic = settings.psound = 0;
        const double whole = MedianMs([] { SetupShow(0); }, [] { ShutdownShow(); });
        SetupShow(0);  // tables of this level stay for the parts below
        ShutdownShow();
        const double textures = MedianMs(LoadTextures, DeleteTextures);
        const double fonts = MedianMs(
            [] {
                BuildOutlineFont();
                BuildBitmapFont();
            },
            [] {
                DeleteOutlineFontLists();
                DeleteBitmapFontLists();
                UnregisterOutlineFontFile();
            });
        const double tables = MedianMs(InitialiseTables, [] {});
        std::printf("%-8s %10.2f %10.2f %10.2f %10.3f\n", names[showState.detailLevel], whole,
                    textures, fonts, tables);
    }
    DestroyOffscreenGlContext(context);
    return 0;
}
