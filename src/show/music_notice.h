// The music notice: for the first 100 frames of a full-screen run, white lines at the lower
// left of the picture say what background audio plays ("NOW PLAYING MOD #1", the MP3 file's
// name, the audio CD, or "MUSIC IS OFF"), fading out as the opening begins. A source the
// settings ask for that did not start (no sound device, a module or MP3 file that did not load)
// gets a line that says it is unavailable, so a silent show is never announced as playing.
//
// Drawing it takes no random number, changes no counter of the show and leaves the GL state
// it touches (enables, colour, texture binding, list base, matrices) as it found it, so the
// frames under it are the frames without it. It allocates nothing once armed. The preview (whose
// audio is always off) and the hardware test never show it.
#pragma once
#include "audio/show_audio.h"
#include "settings/settings.h"

inline constexpr int kMusicNoticeFrames = 100;
// One line per source, in the order the audio starts them: module, MP3 file, CD.
inline constexpr int kMusicNoticeMaxLines = 3;
// The widest line the 640-unit text space holds: glyphs advance 14 units and are 16 wide.
inline constexpr int kMusicNoticeLineChars = 45;

struct MusicNoticeText {
    int lineCount = 0;
    char lines[kMusicNoticeMaxLines][kMusicNoticeLineChars + 1] = {};
};

// What the notice says for these settings and what of them plays. A file name too long for the
// line is cut and ends in "..."; bytes the bitmap font has no glyph for show as "?" (one per
// UTF-8 character).
MusicNoticeText MusicNoticeFor(const Settings& record, const AudioPlaying& playing);
// In a full-screen run (Saver mode) composes the notice from `settings` and `audioPlaying`
// and shows it from the next frame on; otherwise takes away a notice an earlier run of the
// process armed. The show set-up calls it after starting audio.
void ArmMusicNotice();
// Draws the notice with alpha 255 - n * 255 / 100 on its n-th frame (n from 0), and nothing
// once 100 frames have shown it or when it was never armed. The frame driver calls it on
// every frame, right after the clear.
void DrawMusicNotice();
