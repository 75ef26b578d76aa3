// StartAudio and StopAudio over the real engine, for every row of the audio failure table:
// which boxes appear, which engine calls are made at set-up and at shutdown, and what the
// flags record. The output is SDL's dummy driver, or a driver that does not exist when the
// row has no sound device.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "audio/show_audio.h"
#include "platform/audio_engine.h"
#include "platform/message_box.h"
#include "scratch_install.h"
#include "settings/settings.h"
#include "temp_folder.h"
#include "test_sounds.h"

namespace {

std::vector<std::string> calls;

struct AudioCase {
    const char* name;
    int pmusic, pmp3, pcd;
    bool soundDevice, moduleThere, mp3There;
    std::vector<std::string> boxes;  // "icon: text", all titled "SHUTDOWN ERROR"
    std::vector<std::string> startCalls, stopCalls;
    bool ready, loaded;
};

TEST(ShowAudio, FailureTableFromSetUpToShutdown) {
    const AudioCase cases[] = {
        {"music plays",
         1,
         0,
         0,
         true,
         true,
         false,
         {},
         {"init", "load song", "play song"},
         {"stop song", "free song", "close"},
         true,
         true},
        {"module missing: no box, output still closed",
         1,
         0,
         0,
         true,
         false,
         false,
         {},
         {"init", "load song"},
         {"close"},
         true,
         false},
        {"no sound device for the music",
         1,
         0,
         0,
         false,
         true,
         false,
         {"information: Error Initializing Music"},
         {"init", "load song"},
         {},
         false,
         true},
        {"MP3 plays",
         0,
         1,
         0,
         true,
         true,
         true,
         {},
         {"init", "load mp3", "play mp3"},
         {"close"},
         true,
         true},
        {"wrong MP3 path: one box",
         0,
         1,
         0,
         true,
         true,
         false,
         {"error: Error Loading MP3 File"},
         {"init", "load mp3"},
         {"close"},
         true,
         true},
        {"no sound device for the MP3",
         0,
         1,
         0,
         false,
         true,
         true,
         {"information: Error Initializing MP3"},
         {"init", "load mp3"},
         {},
         false,
         true},
        {"music and MP3: two opens, two closes, music first",
         1,
         1,
         0,
         true,
         true,
         true,
         {},
         {"init", "load song", "play song", "init", "load mp3", "play mp3"},
         {"stop song", "free song", "close", "close"},
         true,
         true},
        {"CD: no opening, stopped at shutdown",
         0,
         0,
         1,
         true,
         true,
         false,
         {},
         {"cd play"},
         {"cd stop"},
         true,
         true},
    };
    std::vector<std::string> boxes;
    SetMessageBoxSpy([&boxes](const MessageBoxRequest& box) {
        EXPECT_EQ(box.title, "SHUTDOWN ERROR");
        EXPECT_EQ(box.buttons, BoxButtons::Ok);
        EXPECT_EQ(box.owner, 0u);
        boxes.push_back(std::string(BoxIconName(box.icon)) + ": " + box.text);
        return BoxAnswer::Ok;
    });
    SetAudioEngineTraceForTests([](const char* call) { calls.emplace_back(call); });
    SetCdDrivesForTests({});
    for (const AudioCase& row : cases) {
        TempFolder folder;
        LookUpInstallFolderAt(row.moduleThere ? BuildInstallFolder() : folder.path());
        setenv("SDL_AUDIODRIVER", row.soundDevice ? "dummy" : "no-such-driver", 1);
        const std::string mp3 = folder.path() + "/music.mp3";
        if (row.mp3There) {
            ASSERT_TRUE(WriteMp3(mp3, Tone(0.5, 0.5, kCaptureRate, 1)));
        }
        settings = Settings{};
        settings.pmusic = row.pmusic;
        settings.pmp3 = row.pmp3;
        settings.pcd = row.pcd;
        std::strncpy(settings.datapath, mp3.c_str(), sizeof settings.datapath - 1);
        audioReady = songLoaded = true;
        boxes.clear();
        calls.clear();

        StartAudio();
        EXPECT_EQ(calls, row.startCalls) << row.name;
        EXPECT_EQ(boxes, row.boxes) << row.name;
        EXPECT_EQ(audioReady, row.ready) << row.name;
        EXPECT_EQ(songLoaded, row.loaded) << row.name;
        calls.clear();
        StopAudio();
        EXPECT_EQ(calls, row.stopCalls) << row.name;
    }
    SetAudioEngineTraceForTests(nullptr);
    SetMessageBoxSpy({});
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

}  // namespace
