// The real engine heard through SDL's disk driver: the module, a looping MP3 and a CD image
// play, a drive that hangs never holds the stop; the effect voice plays, cuts and stays silent
// as PlaySoundA does.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <libopenmpt/libopenmpt.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio_engine.h"
#include "platform/sound.h"
#include "platform_spies.h"
#include "scratch_install.h"
#include "temp_folder.h"
#include "test_sounds.h"

namespace {

constexpr double kSilent = 0.001;
// The module swells in from silence over its first half second.
constexpr double kModuleSwelling = 0.005;

// How long the module plays before its own loop takes it back; 0 when it does not load.
double ModuleSeconds(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
    openmpt_module* module = openmpt_module_create_from_memory2(
        bytes.data(), bytes.size(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (module == nullptr) return 0.0;
    const double seconds = openmpt_module_get_duration_seconds(module);
    openmpt_module_destroy(module);
    return seconds;
}

TEST(AudioEngine, ModuleIsHeardAtOnceAndStillAfterItsEnd) {
    TempFolder folder;
    OutputCapture capture(folder.path(), false);
    const std::string module = BuildInstallFolder() + "/data/Gz2.xm";
    const double moduleSeconds = ModuleSeconds(module);
    ASSERT_GT(moduleSeconds, 0.0);
    // Playing before the output opens, so that the capture's first block is the song's,
    // however long this thread waits between the calls.
    AudioSong* song = AudioLoadSong(module);
    ASSERT_NE(song, nullptr);
    AudioPlaySong(song);
    ASSERT_TRUE(AudioInit());
    const bool written = capture.WaitFor(moduleSeconds + 3.0);
    AudioFreeSong(song);
    AudioClose();
    ASSERT_TRUE(written);
    EXPECT_GT(capture.Rms(0.25, 0.5), kModuleSwelling);
    EXPECT_GT(capture.Rms(moduleSeconds + 1.0, moduleSeconds + 3.0), kAudible);
}

// Whatever follows the last frame (here bytes that are no frame at all) ends the song too.
TEST(AudioEngine, Mp3StartsAgainWhenItEnds) {
    for (const std::string& trailer : {std::string(), std::string(1024, '\0')}) {
        TempFolder folder;
        const std::string mp3 = folder.path() + "/tone.mp3";
        ASSERT_TRUE(WriteMp3(mp3, Tone(0.5, 0.5, kCaptureRate, 1)));
        std::ofstream(mp3, std::ios::app | std::ios::binary) << trailer;
        OutputCapture capture(folder.path(), false);
        AudioMp3* sample =
            AudioLoadLoopingMp3(mp3);  // as the song above, playing before the output opens
        ASSERT_NE(sample, nullptr);
        AudioPlayMp3(sample);
        ASSERT_TRUE(AudioInit());
        // Written faster than real time, any moment before the device starts shows as silence
        // at the front, long under the thread checker: the loop is judged from where the sound
        // begins.
        const bool written = capture.WaitFor(4.0);
        AudioClose();
        ASSERT_TRUE(written);
        const double start = capture.SoundStart(1.0);
        ASSERT_LT(start, 1.0) << "the MP3 was never heard";
        for (double at = start + 0.1; at < start + 2.8; at += 0.25) {
            EXPECT_GT(capture.Rms(at, at + 0.2), kAudible)
                << "at " << at << " s, " << trailer.size() << " bytes after the last frame";
        }
    }
}

TEST(AudioEngine, FilesThatAreNoMp3AreRefused) {
    TempFolder folder;
    const std::string text = folder.path() + "/notes.mp3";
    std::ofstream(text) << "not an mpeg stream, only words\n";
    // A module has MPEG frame headers by chance some way in; played, they are loud noise.
    const std::string module = folder.path() + "/module.mp3";
    std::filesystem::copy_file(BuildInstallFolder() + "/data/Gz2.xm", module);
    for (const std::string& path : {text, module, folder.path() + "/missing.mp3", folder.path()}) {
        EXPECT_EQ(AudioLoadLoopingMp3(path), nullptr) << path;
    }
}

// An ID3v2 tag before the frames: its size is written in 7-bit bytes, and a footer flag adds
// ten bytes after it. The first frame must lie exactly where the tag says the tag ends.
std::string Id3Tag(std::uint32_t declaredSize, std::uint32_t actualSize, bool footer) {
    constexpr unsigned char kFooterFlag = 0x10;
    std::string tag = {'I', 'D', '3', 4, 0, static_cast<char>(footer ? kFooterFlag : 0)};
    for (int shift = 21; shift >= 0; shift -= 7) {
        tag.push_back(static_cast<char>((declaredSize >> shift) & 0x7f));
    }
    tag.append(actualSize, '\0');
    if (footer)
        tag += std::string{'3', 'D', 'I', 4, 0, static_cast<char>(kFooterFlag)} + tag.substr(6, 4);
    return tag;
}

TEST(AudioEngine, Mp3LoadsBehindItsId3TagOnlyWhereTheTagEnds) {
    TempFolder folder;
    const std::string plain = folder.path() + "/plain.mp3";
    ASSERT_TRUE(WriteMp3(plain, Tone(0.5, 0.5, kCaptureRate, 1)));
    std::ifstream plainFile(plain, std::ios::binary);
    const std::string frames{std::istreambuf_iterator<char>(plainFile), {}};
    struct Case {
        const char* name;
        std::string tag;
        bool loads;
    };
    const Case cases[] = {
        {"tag", Id3Tag(300, 300, false), true},
        {"tag with footer", Id3Tag(300, 300, true), true},
        {"tag claiming more than it holds", Id3Tag(400, 300, false), false},
    };
    for (const Case& c : cases) {
        const std::string path = folder.path() + "/" + c.name + ".mp3";
        std::ofstream(path, std::ios::binary) << c.tag << frames;
        EXPECT_EQ(AudioLoadLoopingMp3(path) != nullptr, c.loads) << c.name;
    }
}

TEST(AudioEngine, CdImagePlaysFromTrackOneToTheEndOfTheDisc) {
    TempFolder folder;
    const std::string cue = WriteCdImage(
        folder.path(), {Tone(1.0, 0.5, kCaptureRate, 2), Tone(1.0, 0.1, kCaptureRate, 2)});
    SetCdDrives({folder.path() + "/no-such-drive.cue", cue});
    OutputCapture capture(folder.path(), true);
    AudioCdPlayToEnd(1);
    const bool written = capture.WaitFor(3.5);
    AudioCdStop();
    ASSERT_TRUE(written);
    // The reader needs a moment to open the disc: find where the sound begins.
    const double start = capture.SoundStart(1.0);
    ASSERT_LT(start, 1.0) << "the CD was never heard";
    EXPECT_NEAR(capture.Rms(start + 0.1, start + 0.9), 0.5 / std::sqrt(2.0), 0.03);  // track 1
    EXPECT_NEAR(capture.Rms(start + 1.1, start + 1.9), 0.1 / std::sqrt(2.0), 0.01);  // track 2
    EXPECT_LT(capture.Rms(start + 2.2, 3.5), kSilent);                               // disc end
}

// True once a thread of this process waits in the open of a FIFO that has no writer: the CD
// reader has met the hanging drive.
bool SomeThreadWaitsForAWriter() {
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream wchan(task.path() / "wchan");
        std::string waitingIn;
        if (wchan >> waitingIn && waitingIn == "wait_for_partner") return true;
    }
    return false;
}

// Calls the test until it holds or the time is out; the last answer.
template <typename Test>
bool WithinSeconds(int seconds, Test test) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!test() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return test();
}

// A disc image whose data is a FIFO nobody writes: its reader hangs in the open, as in a read
// from a drive that hangs. The stop comes only once the reader hangs there; on a loaded machine
// an earlier stop would find it not yet started, and nothing would be tested.
TEST(AudioEngine, CdStopReturnsWhileTheDriveHangs) {
    TempFolder folder;
    const std::string cue = WriteCdImage(folder.path(), {Tone(1.0, 0.5, kCaptureRate, 2)});
    const std::string bin = folder.path() + "/disc.bin";
    std::filesystem::remove(bin);
    ASSERT_EQ(mkfifo(bin.c_str(), 0600), 0);
    SetCdDrives({cue});
    OutputCapture capture(folder.path(), false);
    AudioCdPlayToEnd(1);
    ASSERT_TRUE(WithinSeconds(20, SomeThreadWaitsForAWriter)) << "the reader never met the drive";
    const auto stopping = std::chrono::steady_clock::now();
    AudioCdStop();
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, std::chrono::seconds(2));
    // Lets the reader's open go on, so that it ends before the test does.
    int writer = -1;
    EXPECT_TRUE(WithinSeconds(20, [&] {
        if (writer < 0) writer = open(bin.c_str(), O_WRONLY | O_NONBLOCK);
        return writer >= 0;
    }));
    if (writer >= 0) close(writer);
}

// The loudest tenth of a second between the two times.
double LoudestTenth(const OutputCapture& capture, double from, double to) {
    double loudest = 0.0;
    for (double at = from; at + 0.1 <= to; at += 0.05) {
        loudest = std::max(loudest, capture.Rms(at, at + 0.1));
    }
    return loudest;
}

// Effects as the show plays them: each row posts files with a pause after each, and says
// what the output holds over time afterwards.
struct EffectCase {
    const char* name;
    std::vector<const char*> files;  // "long", "short" or "missing"
    double loudAfterStart;           // loudest RMS before a second post
    double loudAtEnd;                // RMS expected over the last 0.3 s
};

TEST(SoundEffects, PlayCutAndStaySilentAsPlaySoundDoes) {
    const EffectCase cases[] = {
        {"a WAV effect sounds", {"long"}, 0.35, 0.35},
        {"a second effect cuts the first", {"long", "short"}, 0.35, 0.0},
        {"a missing file is silence", {"missing"}, 0.0, 0.0},
        {"a missing file still stops the effect before it", {"long", "missing"}, 0.35, 0.0},
    };
    for (const EffectCase& row : cases) {
        TempFolder folder;
        // The long bang outlasts the test; the short one is over well before its end.
        WriteWav(folder.path() + "/long.wav", Tone(4.0, 0.5, 22050, 1), 22050, 1);
        WriteWav(folder.path() + "/short.wav", Tone(0.2, 0.1, kCaptureRate, 2), kCaptureRate, 2);
        OutputCapture capture(folder.path(), true);
        OpenSoundEffects();
        std::vector<double> posted;
        // Waits count the output's own time, which a busy machine may slow down.
        for (const char* file : row.files) {
            PlaySoundEffect(folder.path() + "/" + file + ".wav");
            posted.push_back(capture.Seconds());
            ASSERT_TRUE(capture.WaitFor(posted.back() + 0.8));
        }
        const double end = capture.Seconds();
        CloseSoundEffects();
        EXPECT_NEAR(LoudestTenth(capture, posted[0], posted[0] + 0.75), row.loudAfterStart, 0.03)
            << row.name;
        EXPECT_NEAR(capture.Rms(end - 0.3, end), row.loudAtEnd, 0.03) << row.name;
    }
}

}  // namespace
