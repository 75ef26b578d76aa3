// The music notice over the first 100 frames of a full-screen run (see music_notice.h): the
// viewer reads what plays at the lower left while it fades out. Owns its own frame counter;
// advances nothing of the show.
#include "show/music_notice.h"

#include <GL/gl.h>

#include <cstdint>
#include <cstring>
#include <string_view>

#include "base/run_flags.h"
#include "base/utf8_text.h"
#include "show/bitmap_font.h"

namespace {

constexpr const char* kModuleLine = "NOW PLAYING MOD #1";
constexpr const char* kPlayingPrefix = "NOW PLAYING ";
constexpr const char* kCdLine = "NOW PLAYING AUDIO CD";
constexpr const char* kMusicOffLine = "MUSIC IS OFF";
constexpr const char* kMusicUnavailableLine = "MUSIC IS UNAVAILABLE";
constexpr const char* kMp3UnavailableLine = "MP3 FILE IS UNAVAILABLE";
constexpr const char* kCutMark = "...";

// The bitmap font has glyphs for the printable ASCII codes only.
constexpr unsigned char kFirstGlyph = 32;
constexpr unsigned char kLastGlyph = 126;
constexpr char kNoGlyph = '?';

constexpr int kNoticeX = 2;
constexpr int kNoticeY = 2;
constexpr int kLineSpacing = 16;
constexpr int kFullAlpha = 255;
constexpr GLubyte kWhite = 255;

MusicNoticeText shownText;
// Starts as if the notice had already run its course; arming sets it to 0.
std::int32_t noticeFrame = kMusicNoticeFrames;

// The name after the last folder separator; the field is read no further than its size.
std::string_view FileName(const char (&path)[kSettingTextSize]) {
    const std::string_view whole(path, strnlen(path, kSettingTextSize));
    const std::size_t separator = whole.find_last_of("/\\");
    return separator == std::string_view::npos ? whole : whole.substr(separator + 1);
}

// Appends what the font can draw of `text`, one "?" for each character it cannot; stops at
// `limit` characters.
void AppendDrawable(char* line, std::string_view text, std::size_t limit) {
    std::size_t length = std::strlen(line);
    for (const char c : text) {
        if (length >= limit) break;
        const auto byte = static_cast<unsigned char>(c);
        if (ContinuesUtf8Character(c)) continue;
        line[length++] = (byte >= kFirstGlyph && byte <= kLastGlyph) ? c : kNoGlyph;
    }
    line[length] = '\0';
}

void AddLine(MusicNoticeText& text, const char* line) {
    std::strcpy(text.lines[text.lineCount++], line);
}

// The file's name without its folder, cut to what fits after the prefix.
void AddFileLine(MusicNoticeText& text, const char (&path)[kSettingTextSize]) {
    char name[kMusicNoticeLineChars + 1] = {};
    AppendDrawable(name, FileName(path), kMusicNoticeLineChars);
    const std::size_t room = kMusicNoticeLineChars - std::strlen(kPlayingPrefix);
    if (std::strlen(name) > room) std::strcpy(name + room - std::strlen(kCutMark), kCutMark);
    char* line = text.lines[text.lineCount++];
    std::strcpy(line, kPlayingPrefix);
    std::strcat(line, name);
}

}  // namespace

MusicNoticeText MusicNoticeFor(const Settings& record, const AudioPlaying& playing) {
    MusicNoticeText text;
    if (record.pmusic != 0) AddLine(text, playing.music ? kModuleLine : kMusicUnavailableLine);
    if (record.pmp3 != 0) {
        if (playing.mp3) {
            AddFileLine(text, record.datapath);
        } else {
            AddLine(text, kMp3UnavailableLine);
        }
    }
    if (record.pcd != 0) AddLine(text, kCdLine);
    if (text.lineCount == 0) AddLine(text, kMusicOffLine);
    return text;
}

void ArmMusicNotice() {
    if (runMode != RunMode::Saver) {
        noticeFrame = kMusicNoticeFrames;  // not even one an earlier run of the process armed
        return;
    }
    shownText = MusicNoticeFor(settings, audioPlaying);
    noticeFrame = 0;
}

void DrawMusicNotice() {
    if (noticeFrame >= kMusicNoticeFrames) return;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT | GL_LIST_BIT);
    glPushMatrix();
    glLoadIdentity();
    const int alpha = kFullAlpha - noticeFrame * kFullAlpha / kMusicNoticeFrames;
    glColor4ub(kWhite, kWhite, kWhite, static_cast<GLubyte>(alpha));
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    noticeFrame += 1;
    for (int i = 0; i < shownText.lineCount; ++i) {
        PrintBitmap(kNoticeX, kNoticeY + i * kLineSpacing, shownText.lines[i]);
    }
    glPopMatrix();
    glPopAttrib();
}
