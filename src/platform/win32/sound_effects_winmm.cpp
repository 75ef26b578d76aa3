// Sound effects on Windows: PlaySoundW, whose contract the effects' seam is written after. One
// asynchronous sound per process, a new one stopping the one still playing; the system reads
// and plays the file on a thread of its own, mixed with the background voices by the system.
//
// Realised here: SND_FILENAME | SND_ASYNC | SND_NODEFAULT (a missing file plays nothing rather
// than the default beep), only between OpenSoundEffects and CloseSoundEffects, which stops the
// sound still playing. A file is handed over only when the safe open takes it, so that a pipe
// or a device in a data file's place never reaches the player.
// Left out: SND_LOOP, SND_NOSTOP, resource and alias sounds; only files play.
#include <windows.h>
// After windows.h, whose types it uses without including it.
#include <mmsystem.h>

#include "platform/data_files.h"
#include "platform/sound.h"
#include "platform/win32/wide_text.h"

namespace {
bool effectsOpen = false;
}  // namespace

void OpenSoundEffects() {
    effectsOpen = true;
}

void CloseSoundEffects() {
    effectsOpen = false;
    PlaySoundW(nullptr, nullptr, 0);
}

void PlaySystemSound(const std::string& path) {
    if (!effectsOpen || !FileOpensForReading(path)) return;
    PlaySoundW(WideFromUtf8(path).c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}
