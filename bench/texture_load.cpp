// Decoding and uploading the show's eight textures: the median over several runs of each
// texture's decode alone and of its whole load (decode, mipmaps, upload), and of the total.
//
// Usage: bench_texture_load [data folder]. Without an argument the data folder is that of
// the install folder when one is recorded, else the build's (VOSTREL_BUILD_DIR/data/data, or
// data/data beside the bench's own folder).
#include <GL/gl.h>
#include <strings.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/jpeg_image.h"
#include "assets/textures.h"
#include "platform/offscreen_gl.h"
#include "settings/install_folder.h"

namespace {

constexpr int kRuns = 7;

struct ShowTexture {
    const char* label;
    Texture* texture;
    const char* relativePath;
};

// In the order the show set-up loads them.
const ShowTexture kShowTextures[] = {
    {"star", &texStar, kStarFile},       {"fire", &texFire, kFireFile},
    {"stelle", &texStelle, kStelleFile}, {"stelle2", &texStelle2, kStelle2File},
    {"env", &texEnv, kEnvFile},          {"sun", &texSun, kSunFile},
    {"font", &texFont, kFontFile},       {"front", &texFront, kFrontFile}};

std::string BuildDataFolder() {
    if (const char* build = std::getenv("VOSTREL_BUILD_DIR")) {
        return std::string(build) + "/data/data";
    }
    std::error_code error;
    auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return (self.parent_path().parent_path() / "data" / "data").string();
}

// The file in folder whose name matches, ignoring letter case, the last part of relative.
std::string FindInFolder(const std::string& folder, const char* relative) {
    std::string wanted = relative;
    wanted = wanted.substr(wanted.find_last_of('\\') + 1);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (strcasecmp(name.c_str(), wanted.c_str()) == 0) return entry.path().string();
    }
    return folder + "/" + wanted;
}

std::string PicturePath(const std::string& folder, const char* relative) {
    if (!folder.empty()) return FindInFolder(folder, relative);
    return DataPath(relative);
}

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
        if (!installFolderFound) folder = BuildDataFolder();
    }
    OffscreenGlContext* context = CreateOffscreenGlContext();
    if (context == nullptr) {
        std::fprintf(stderr, "bench_texture_load: no offscreen GL context\n");
        return 1;
    }
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    std::printf("data folder: %s\n", folder.empty() ? InstallFolder() : folder.c_str());
    std::printf("%-8s %10s %10s  (median of %d runs, ms)\n", "texture", "decode", "load", kRuns);
    std::vector<double> totals(kRuns, 0.0);
    for (const ShowTexture& show : kShowTextures) {
        std::string path = PicturePath(folder, show.relativePath);
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
