// The bang sounds are 16-bit PCM WAV files that SDL reads and that are not silent; the
// GIFs decode with giflib; the report page holds its two markers in order, with text
// around them; and the folder holds exactly the manifest's files.
#include <gtest/gtest.h>

#include <SDL.h>
#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>

#include "base/data_manifest.h"
#include "data_files.h"
#include "platform/ascii_case.h"

namespace {

struct Sound {
    SDL_AudioSpec layout{};
    double seconds = 0;
    double rms = 0;
};

bool LoadSound(const std::string& path, Sound& sound) {
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV(path.c_str(), &sound.layout, &buffer, &length)) return false;
    const auto* samples = reinterpret_cast<const Sint16*>(buffer);
    const size_t count = length / sizeof(Sint16);
    double sum = 0;
    for (size_t i = 0; i < count; ++i) sum += static_cast<double>(samples[i]) * samples[i];
    sound.rms = std::sqrt(sum / count) / 32768.0;
    sound.seconds = static_cast<double>(count) / sound.layout.channels / sound.layout.freq;
    SDL_FreeWAV(buffer);
    return true;
}

}  // namespace

TEST(DataSounds, LongBangAndFourShortThudsArePcmAndAudible) {
    std::set<double> lengths;
    for (const char* name :
         {"bang.wav", "bangshrt1.wav", "bangshrt2.wav", "bangshrt3.wav", "bangshrt4.wav"}) {
        Sound sound;
        ASSERT_TRUE(LoadSound(DataFile(name), sound)) << name << ": " << SDL_GetError();
        EXPECT_EQ(sound.layout.format, AUDIO_S16LSB) << name;
        EXPECT_TRUE(sound.layout.freq == 44100 || sound.layout.freq == 22050) << name;
        EXPECT_GT(sound.rms, 0.03) << name;
        if (std::string(name) == "bang.wav") {
            EXPECT_GE(sound.seconds, 2.0);
            EXPECT_LE(sound.seconds, 4.0);
        } else {
            EXPECT_LT(sound.seconds, 1.0) << name;
            lengths.insert(sound.seconds);
        }
    }
    EXPECT_EQ(lengths.size(), 4u);
}

TEST(DataGifs, EveryGifDecodes) {
    for (const char* name : {"iconbig.gif", "VostrelGS1.gif", "shad.gif", "title.gif"}) {
        int error = 0;
        GifFileType* gif = DGifOpenFileName(DataFile(name).c_str(), &error);
        ASSERT_NE(gif, nullptr) << name << ": " << GifErrorString(error);
        EXPECT_EQ(DGifSlurp(gif), GIF_OK) << name;
        EXPECT_GE(gif->ImageCount, 1) << name;
        EXPECT_GT(gif->SWidth, 0) << name;
        EXPECT_GT(gif->SHeight, 0) << name;
        DGifCloseFile(gif, &error);
    }
}

TEST(DataPage, HoldsTheReportMarkersInOrderWithTextAround) {
    const std::string page = ReadWholeFile(InstallFolder() + "/debug.htm");
    const size_t begin = page.find("<!--begin-->");
    const size_t end = page.find("<!--end-->");
    ASSERT_NE(begin, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    EXPECT_LT(begin, end);
    EXPECT_EQ(page.find("<!--begin-->", begin + 1), std::string::npos);
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(page.substr(0, begin).find("debug"), std::string::npos);
    EXPECT_NE(page.find("</html>", end), std::string::npos);
}

TEST(DataFolder, HoldsExactlyTheManifestsFilesUnderNamesTheProgramFinds) {
    std::set<std::string> expected;
    for (const DataFileEntry& file : kDataManifest) {
        expected.insert(file.madeFile);
        // The program's spelling finds the made file only if they differ in letter case alone.
        std::string spelled = file.name;
        std::replace(spelled.begin(), spelled.end(), '\\', '/');
        std::string made = "/";
        made += file.madeFile;
        EXPECT_TRUE(EqualIgnoringAsciiCase(spelled, made)) << spelled;
    }
    std::set<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(InstallFolder())) {
        if (entry.is_regular_file()) {
            found.insert(std::filesystem::relative(entry.path(), InstallFolder()).string());
        }
    }
    EXPECT_EQ(found, expected);
}
