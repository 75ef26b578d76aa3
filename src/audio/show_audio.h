// The show's audio: the background source the settings choose (the music module, the MP3
// file or the audio CD), started by the show's set-up and stopped by its shutdown, and the
// effect voice that plays the bangs. Failures show a box and the show goes on without sound.
#pragma once

struct AudioSong;

// False once an opening of the sound output has failed; never set back.
extern bool audioReady;
// False once the music module failed to load; never set back.
extern bool songLoaded;
// The loaded music module, or nullptr.
extern AudioSong* song;

// What StartAudio got playing of the background sources it was asked for (the CD reports
// nothing, so it is not here).
struct AudioPlaying {
    bool music = false;
    bool mp3 = false;
};
extern AudioPlaying audioPlaying;

// The music, then the MP3 file, then the CD, each when its setting is on; then the effect
// voice when the sound effects are on.
void StartAudio();
// Stops the CD, the music, then closes the output for the music and for the MP3, as far as
// each was started without failure; then the effect voice.
void StopAudio();
