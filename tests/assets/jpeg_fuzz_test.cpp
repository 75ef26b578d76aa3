// Damaged JPEG files, made by seeded mutation of good ones: loading must never crash or leak
// (run under AddressSanitizer too), and every failure must leave the checker behind.
#include <dirent.h>

#include <cstdlib>
#include <random>
#include <string>

#include "assets/texture.h"
#include "gl_fixture.h"

namespace {

constexpr int kRounds = 10000;
// One round in this many damages the alpha file of a pair instead of the colour file.
constexpr int kAlphaShare = 8;
// Larger pictures make the run slow without finding more: the damage is in the structure.
constexpr std::size_t kLargestSource = 48 * 1024;

using Bytes = std::vector<std::uint8_t>;

std::vector<Bytes> GeneratedSources() {
    std::vector<Bytes> sources;
    for (JpegForm form :
         {JpegForm::Baseline, JpegForm::Progressive, JpegForm::Restarts, JpegForm::ExifAndIcc}) {
        sources.push_back(EncodeJpeg(DetailedPicture(24, 16), form));
    }
    sources.push_back(EncodeJpeg(GreyStripes(16, 8)));
    sources.push_back(EncodeJpeg(InkQuadrantPicture(16, 16)));
    sources.push_back(EncodeJpeg(InkQuadrantPicture(16, 16), JpegForm::Ycck));
    sources.push_back(EncodeJpeg(SolidPicture(3, 7, {9, 99, 199})));
    return sources;
}

// The data folder's pictures, when the build has made them.
std::vector<Bytes> DataFolderSources() {
    std::vector<Bytes> sources;
    const char* build = std::getenv("VOSTREL_BUILD_DIR");
    std::string folder = std::string(build != nullptr ? build : VOSTREL_BUILD_DIR) + "/data/data";
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return sources;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() < 4 || name.substr(name.size() - 4) != ".jpg") continue;
        Bytes bytes = ReadFileBytes(folder + "/" + name);
        if (!bytes.empty() && bytes.size() <= kLargestSource) sources.push_back(std::move(bytes));
    }
    closedir(dir);
    return sources;
}

class Mutator {
  public:
    explicit Mutator(unsigned seed) : random(seed) {}

    Bytes Damage(Bytes bytes) {
        int count = 1 + Below(3);
        for (int i = 0; i < count && !bytes.empty(); ++i) DamageOnce(bytes);
        return bytes;
    }

    int Below(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }

  private:
    std::size_t Position(const Bytes& bytes) { return random() % bytes.size(); }

    void DamageOnce(Bytes& bytes) {
        switch (Below(7)) {
            case 0:  // flip a bit
                bytes[Position(bytes)] ^= static_cast<std::uint8_t>(1u << Below(8));
                break;
            case 1:  // overwrite a byte with a marker-like or random value
                bytes[Position(bytes)] = Below(2) ? 0xFF : static_cast<std::uint8_t>(random());
                break;
            case 2:  // cut the file short
                bytes.resize(Position(bytes));
                break;
            case 3: {  // drop a run of bytes
                std::size_t from = Position(bytes);
                std::size_t length = std::min<std::size_t>(1 + Below(64), bytes.size() - from);
                bytes.erase(bytes.begin() + from, bytes.begin() + from + length);
                break;
            }
            case 4: {  // insert random bytes
                Bytes junk(1 + Below(16));
                for (auto& b : junk) b = static_cast<std::uint8_t>(random());
                bytes.insert(bytes.begin() + Position(bytes), junk.begin(), junk.end());
                break;
            }
            case 5:  // claim another frame size, small or huge
                bytes = WithFrameSize(std::move(bytes), Below(2) ? Below(70000) : Below(40),
                                      Below(2) ? Below(70000) : Below(40));
                break;
            default: {  // repeat a run somewhere else
                std::size_t from = Position(bytes);
                std::size_t length = std::min<std::size_t>(1 + Below(256), bytes.size() - from);
                Bytes run(bytes.begin() + from, bytes.begin() + from + length);
                bytes.insert(bytes.begin() + Position(bytes), run.begin(), run.end());
                break;
            }
        }
    }

    std::mt19937 random;
};

using JpegFuzzTest = GlTest;

TEST_F(JpegFuzzTest, DamagedFilesNeverCrashAndFailToTheChecker) {
    std::vector<Bytes> sources = DataFolderSources();
    for (Bytes& generated : GeneratedSources()) sources.push_back(std::move(generated));
    const std::string original = scratch.File("original.jpg");
    const std::string damaged = scratch.File("damaged.jpg");
    // A fixed seed, so every run tries the same damage and a failure can be replayed.
    Mutator mutator(20261207);
    Texture texture;
    int failures = 0;
    for (int round = 0; round < kRounds; ++round) {
        const Bytes& source = sources[mutator.Below(static_cast<int>(sources.size()))];
        WriteFileBytes(damaged, mutator.Damage(source));
        bool damageAlpha = round % kAlphaShare == 0;
        if (damageAlpha) WriteFileBytes(original, source);
        bool loaded = damageAlpha ? texture.Load(original.c_str(), damaged.c_str())
                                  : texture.Load(damaged.c_str(), nullptr);
        if (loaded) continue;
        ++failures;
        ASSERT_TRUE(HoldsChecker(texture)) << "round " << round;
        texture.width = texture.height = 0;
    }
    // Both outcomes must have been exercised for the run to mean anything.
    EXPECT_GT(failures, kRounds / 10);
    EXPECT_LT(failures, kRounds);
    std::printf("%zu sources, %d rounds, %d failed to the checker\n", sources.size(), kRounds,
                failures);
}

}  // namespace
