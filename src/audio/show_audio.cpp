#include "audio/show_audio.h"

#include "base/data_manifest.h"
#include "platform/audio_engine.h"
#include "platform/message_box.h"
#include "platform/sound.h"
#include "settings/install_folder.h"
#include "settings/settings.h"

bool audioReady = true;
bool songLoaded = true;
AudioSong* song = nullptr;
AudioPlaying audioPlaying;

namespace {

constexpr int kFirstCdTrack = 1;

constexpr const char* kAudioBoxTitle = "SHUTDOWN ERROR";
constexpr const char* kMusicInitFailedText = "Error Initializing Music";
constexpr const char* kMp3InitFailedText = "Error Initializing MP3";
constexpr const char* kMp3LoadFailedText = "Error Loading MP3 File";

void ShowAudioBox(const char* text, BoxIcon icon) {
    MessageBoxRequest request{0, kAudioBoxTitle, text, icon, BoxButtons::Ok};
    request.runGoesOn = true;
    ShowMessageBox(request);
}

void InitialiseOutput(const char* failureText) {
    if (AudioInit()) return;
    ShowAudioBox(failureText, BoxIcon::Information);
    audioReady = false;
}

// The module is loaded even when the output failed to open, as a module player would.
void StartMusic() {
    const std::string path = DataPath(DataName(DataRole::Music));
    InitialiseOutput(kMusicInitFailedText);
    song = AudioLoadSong(path);
    if (song == nullptr) songLoaded = false;
    if (audioReady && songLoaded) {
        AudioPlaySong(song);
        audioPlaying.music = true;
    }
}

void StartMp3() {
    InitialiseOutput(kMp3InitFailedText);
    AudioMp3* mp3 = AudioLoadLoopingMp3(settings.datapath);
    if (mp3 == nullptr) ShowAudioBox(kMp3LoadFailedText, BoxIcon::Error);
    if (audioReady && mp3 != nullptr) {
        AudioPlayMp3(mp3);
        audioPlaying.mp3 = true;
    }
}

}  // namespace

void StartAudio() {
    if (settings.pmusic != 0) StartMusic();
    if (settings.pmp3 != 0) StartMp3();
    if (settings.pcd != 0) AudioCdPlayToEnd(kFirstCdTrack);
    if (settings.psound != 0) OpenSoundEffects();
}

void StopAudio() {
    if (settings.pcd != 0) AudioCdStop();
    if (audioReady && songLoaded && settings.pmusic != 0) AudioStopSong(song);
    if (settings.pmusic != 0 && audioReady) {
        if (song != nullptr) AudioFreeSong(song);
        song = nullptr;
        AudioClose();
    }
    if (settings.pmp3 != 0 && audioReady) AudioClose();
    CloseSoundEffects();
}
