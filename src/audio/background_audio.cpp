#include "audio/background_audio.h"

// Silent until the audio engine lands (libopenmpt, mpg123, CD reader behind SDL).
void StartBackgroundAudio() {}

void StopBackgroundAudio() {}
