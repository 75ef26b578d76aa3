// StartAudio and StopAudio over the real engine, for every row of the audio failure table:
// which boxes appear, which engine calls are made at set-up and at shutdown, and what the
// flags record. The output is SDL's dummy driver, or a driver that does not exist when the
// row has no sound device.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <string>

#include "audio/show_audio.h"
#include "platform/audio_engine.h"
#include "platform/message_box.h"
#include "platform_spies.h"
#include "scratch_install.h"
#include "settings/settings.h"
#include "temp_folder.h"
#include "test_sounds.h"

namespace {

std::string calls;  // the engine calls, each followed by "; "

// What a row has: the sound device, the module in the install folder, the MP3 file.
enum Have { kDevice = 1, kModule = 2, kMp3 = 4, kAll = 7 };

struct AudioCase {
    const char* name;
    const char* sources;  // the switches on: "music", "mp3", "cd"
    int have;
    const char* box;  // "icon: text" of the one box, titled "SHUTDOWN ERROR"; "" for none
    const char* startCalls;
    const char* stopCalls;
    bool ready, loaded;
};

TEST(ShowAudio, FailureTableFromSetUpToShutdown) {
    const AudioCase cases[] = {
        {"music plays", "music", kAll, "", "init; load song; play song; ",
         "stop song; free song; close; ", true, true},
        {"module missing: no box, output closed", "music", kDevice, "", "init; load song; ",
         "close; ", true, false},
        {"no device for the music", "music", kModule, "information: Error Initializing Music",
         "init; load song; ", "", false, true},
        {"MP3 plays", "mp3", kAll, "", "init; load mp3; play mp3; ", "close; ", true, true},
        {"wrong MP3 path", "mp3", kDevice | kModule, "error: Error Loading MP3 File",
         "init; load mp3; ", "close; ", true, true},
        {"no device for the MP3", "mp3", kModule | kMp3, "information: Error Initializing MP3",
         "init; load mp3; ", "", false, true},
        {"music and MP3: two opens and closes, music first", "music mp3", kAll, "",
         "init; load song; play song; init; load mp3; play mp3; ",
         "stop song; free song; close; close; ", true, true},
        {"CD: no opening, stopped at shutdown", "cd", kAll, "", "cd play; ", "cd stop; ", true,
         true},
    };
    std::string boxes;
    SetMessageBoxSpy([&boxes](const MessageBoxRequest& box) {
        EXPECT_EQ(box.title, "SHUTDOWN ERROR");
        EXPECT_EQ(box.buttons, BoxButtons::Ok);
        EXPECT_EQ(box.owner, 0u);
        boxes += std::string(BoxIconName(box.icon)) + ": " + box.text;
        return BoxAnswer::Ok;
    });
    SetAudioEngineTrace([](const char* call) { (calls += call) += "; "; });
    SetCdDrives({});
    for (const AudioCase& row : cases) {
        TempFolder folder;
        LookUpInstallFolderAt((row.have & kModule) != 0 ? BuildInstallFolder() : folder.path());
        setenv("SDL_AUDIODRIVER", (row.have & kDevice) != 0 ? "dummy" : "no-such-driver", 1);
        const std::string mp3 = folder.path() + "/music.mp3";
        if ((row.have & kMp3) != 0) {
            ASSERT_TRUE(WriteMp3(mp3, Tone(0.5, 0.5, kCaptureRate, 1)));
        }
        const std::string sources = row.sources;
        settings = Settings{};
        settings.pmusic = sources.find("music") != std::string::npos;
        settings.pmp3 = sources.find("mp3") != std::string::npos;
        settings.pcd = sources.find("cd") != std::string::npos;
        std::strncpy(settings.datapath, mp3.c_str(), sizeof settings.datapath - 1);
        audioReady = songLoaded = true;
        boxes.clear();
        calls.clear();

        StartAudio();
        EXPECT_EQ(calls, row.startCalls) << row.name;
        EXPECT_EQ(boxes, row.box) << row.name;
        EXPECT_EQ(audioReady, row.ready) << row.name;
        EXPECT_EQ(songLoaded, row.loaded) << row.name;
        calls.clear();
        StopAudio();
        EXPECT_EQ(calls, row.stopCalls) << row.name;
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

}  // namespace
