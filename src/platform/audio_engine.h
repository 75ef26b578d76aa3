// Audio engine: the background sources behind the show (a tracker module, a looping MP3 file
// and the audio CD), all mixed into one output stream of kAudioMixRate frames a second.
//
// Contract:
//   - AudioInit opens the output device: true on success, false when no output device can be
//     opened within a bounded wait of seconds (then nothing background plays): a sound server
//     that takes the connection and never answers counts as none. Calls nest: each successful
//     AudioInit takes one AudioClose, and the device stays open until the last. A failed
//     AudioInit takes none.
//   - AudioLoadSong reads a tracker module (any format libopenmpt knows) whole into memory.
//     It works whether the output is open or not. nullptr when the file is missing, no
//     regular file, unreadable, larger than any real module or not a module. A played song
//     loops for ever, as its own loop says.
//   - AudioPlaySong starts a loaded song from where it stands (one song plays at a time: a
//     second replaces the first); AudioStopSong silences it; AudioFreeSong stops and
//     releases it, after which the handle is gone. Songs not freed live to the process end.
//   - AudioLoadLoopingMp3 opens an MP3 file for playback that starts again from its
//     beginning each time it ends. nullptr when the file is missing, no regular file,
//     unreadable, or its first MPEG audio frames do not follow one another from its start.
//     The engine owns the handle: the AudioClose that closes the output releases every MP3
//     loaded. AudioPlayMp3 starts it (one MP3 plays at a time).
//   - AudioCdPlayToEnd plays the first drive that holds an audio disc from `track` to the
//     end of the disc and then falls silent. Nothing is reported: no drive, no audio disc, no
//     such track or no output device all mean silence. It needs no AudioInit: the CD holds
//     the output for itself until AudioCdStop, which also ends its reader.
//   - AudioClose closes what one successful AudioInit opened; without one it does nothing.
//   - A song or MP3 put in play while the output is closed is heard from the output's first
//     block on, once it opens.
//
// Threads and timing: every call is meant for the set-up and shutdown of the show, on the
// thread that runs them; none may be made while a frame is drawn. Decoding happens in the
// output's own thread; the CD's drive search and reads happen on a reader thread of its own,
// so a slow or scratched disc delays neither the output nor the caller. A call waits at most
// for one mixing pass of the output (a few milliseconds) to install or remove a source;
// AudioLoadSong and AudioLoadLoopingMp3 read the file, and AudioCdStop waits for the reader's
// current read to end for a moment at most: a reader held longer by a hung drive is left to
// end by itself.
//
// Limits: one song, one MP3 and the CD play at once; there are no channel counts to choose.
#pragma once
#include <string>

inline constexpr int kAudioMixRate = 44100;

struct AudioSong;
struct AudioMp3;

bool AudioInit();
void AudioClose();

AudioSong* AudioLoadSong(const std::string& path);
void AudioPlaySong(AudioSong* song);
void AudioStopSong(AudioSong* song);
void AudioFreeSong(AudioSong* song);

AudioMp3* AudioLoadLoopingMp3(const std::string& path);
void AudioPlayMp3(AudioMp3* mp3);

void AudioCdPlayToEnd(int track);
void AudioCdStop();
