// The background sources of the show: the music module, the MP3 file and the audio CD, each
// started only when its setting is on.
#pragma once

// Starts the music module, then the MP3 file, then the audio CD, as the settings say.
void StartBackgroundAudio();
// Stops and releases the CD, then the music, then the MP3.
void StopBackgroundAudio();
