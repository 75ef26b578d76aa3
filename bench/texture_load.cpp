// Decoding and uploading the show's eight textures: the median over several runs of each
// texture's decode alone and of its whole load (decode, mipmaps, upload), and of the total.
//
// Usage: bench_texture_load [install folder]. Without an argument: the recorded install
// folder, else the one the build makes (VOSTREL_BUILD_DIR/data, or data beside the bench's
// own folder). The pictures are its data subfolder's.
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "assets/jpeg_image.h"
#include "assets/textures.h"
#include "base/data_manifest.h"
#include "platform/data_files.h"
#include "platform/offscreen_gl.h"
#include "scratch_install.h"
#include "settings/install_folder.h"

namespace {

constexpr int kRuns = 7;

struct ShowTexture {
    const char* label;
    Texture* texture;
    const char* relativePath;
};

// In the order the show set-up loads them.
const ShowTexture kShowTextures[] = {{"star", &texStar, DataName(DataRole::StarTexture)},
                                     {"fire", &texFire, DataName(DataRole::FireTexture)},
                                     {"stelle", &texStelle, DataName(DataRole::StelleTexture)},
                                     {"stelle2", &texStelle2, DataName(DataRole::Stelle2Texture)},
                                     {"env", &texEnv, DataName(DataRole::EnvTexture)},
                                     {"sun", &texSun, DataName(DataRole::SunTexture)},
                                     {"font", &texFont, DataName(DataRole::FontTexture)},
                                     {"front", &texFront, DataName(DataRole::FrontTexture)}};

double Milliseconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double TimeDecode(const std::string& path, int maxSide) {
    auto start = std::chrono::steady_clock::now();
    JpegImage image;
    image.Load(path.c_str(), false, maxSide);
    return Milliseconds(std::chrono::steady_clock::now() - start);
}

double TimeLoad(Texture& texture, const std::string& path, bool& loaded) {
    auto start = std::chrono::steady_clock::now();
    loaded = texture.Load(path.c_str(), nullptr);
    glFinish();
    return Milliseconds(std::chrono::steady_clock::now() - start);
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder;
    if (argc > 1) {
        folder = argv[1];
    } else {
        LookUpDataFolder();
        folder = installFolderFound ? InstallFolder() : BuildInstallFolder();
    }
    OffscreenGlContext* context = CreateOffscreenGlContext();
    if (context == nullptr) {
        std::fprintf(stderr, "bench_texture_load: no offscreen GL context\n");
        return 1;
    }
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    std::printf("install folder: %s\n", folder.c_str());
    std::printf("%-8s %10s %10s  (median of %d runs, ms)\n", "texture", "decode", "load", kRuns);
    std::vector<double> totals(kRuns, 0.0);
    for (const ShowTexture& show : kShowTextures) {
        std::string path = NativeDataPath(folder, show.relativePath);
        std::vector<double> decodes;
        std::vector<double> loads;
        bool loaded = false;
        for (int run = 0; run < kRuns; ++run) {
            decodes.push_back(TimeDecode(path, maxSide));
            loads.push_back(TimeLoad(*show.texture, path, loaded));
            totals[run] += loads.back();
        }
        std::printf("%-8s %10.2f %10.2f%s\n", show.label, Median(decodes), Median(loads),
                    loaded ? "" : "  (failed: checker)");
        show.texture->Delete();
    }
    std::printf("%-8s %10s %10.2f\n", "total", "", Median(totals));
    DestroyOffscreenGlContext(context);
    return 0;
}
