// KeepSoundLibrariesQuiet of voice_mixer.h on Linux: SDL's own log, ALSA and libcdio (which
// warns about odd discs). SDL loads libasound with dlopen, which hands back the copy this program
// is already linked with, so the handler set here covers SDL's calls as well as ALSA's plugins.
#include "platform/portable/voice_mixer.h"

#include <SDL.h>
#include <alsa/asoundlib.h>
#include <cdio/logging.h>

namespace {

void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

void IgnoreSdlMessage(void*, int, SDL_LogPriority, const char*) {}

void IgnoreCdioMessage(cdio_log_level_t, const char*) {}

}  // namespace

void KeepSoundLibrariesQuiet() {
    SDL_LogSetOutputFunction(IgnoreSdlMessage, nullptr);
    snd_lib_error_set_handler(IgnoreAlsaMessage);
    cdio_log_set_handler(IgnoreCdioMessage);
}
