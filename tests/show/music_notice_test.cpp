#include "show/music_notice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/run_flags.h"
#include "show/bitmap_font.h"
#include "show/random.h"
#include "show/show_state.h"
#include "show_piece_test.h"

namespace {

std::vector<std::string> Lines(const MusicNoticeText& text) {
    return std::vector<std::string>(text.lines, text.lines + text.lineCount);
}

struct NoticeCase {
    const char* what;
    int music, mp3, cd;
    const char* path;
    std::vector<std::string> lines;
    AudioPlaying playing = {true, true};
};

TEST(MusicNoticeText, NamesWhatPlays) {
    const std::string longName(60, 'x');
    const NoticeCase cases[] = {
        {"module", 1, 0, 0, "", {"NOW PLAYING MOD #1"}},
        {"no sound device",
         1,
         1,
         0,
         "a.mp3",
         {"MUSIC IS UNAVAILABLE", "MP3 FILE IS UNAVAILABLE"},
         {false, false}},
        {"MP3 that did not load", 0, 1, 0, "a.mp3", {"MP3 FILE IS UNAVAILABLE"}, {true, false}},
        {"nothing", 0, 0, 0, "", {"MUSIC IS OFF"}},
        {"MP3", 0, 1, 0, "/home/ann/Music/Night Drive.mp3", {"NOW PLAYING Night Drive.mp3"}},
        {"CD", 0, 0, 1, "", {"NOW PLAYING AUDIO CD"}},
        {"all three, in starting order",
         1,
         1,
         1,
         "C:\\music\\a.mp3",
         {"NOW PLAYING MOD #1", "NOW PLAYING a.mp3", "NOW PLAYING AUDIO CD"}},
        {"no glyph for UTF-8 or control bytes",
         0,
         1,
         0,
         "/m/F\xC3\xBCr\tE.mp3",
         {"NOW PLAYING F?r?E.mp3"}},
        {"long name cut to the line",
         0,
         1,
         0,
         nullptr,
         {"NOW PLAYING " + longName.substr(0, 30) + "..."}},
    };
    for (const NoticeCase& c : cases) {
        SCOPED_TRACE(c.what);
        Settings record;
        record.pmusic = c.music;
        record.pmp3 = c.mp3;
        record.pcd = c.cd;
        std::strcpy(record.datapath, c.path != nullptr ? c.path : longName.c_str());
        const MusicNoticeText text = MusicNoticeFor(record, c.playing);
        EXPECT_EQ(Lines(text), c.lines);
        for (int i = 0; i < text.lineCount; ++i) {
            EXPECT_LE(std::strlen(text.lines[i]), std::size_t{kMusicNoticeLineChars});
        }
    }
}

class MusicNoticeTest : public ShowPieceTest {
  protected:
    void SetUp() override {
        ShowPieceTest::SetUp();
        if (IsSkipped()) return;
        BuildBitmapFont();
    }
    void TearDown() override { DeleteBitmapFontLists(); }
};

// It fades out over its 100 frames and then stays away; the show around it sees no change.
TEST_F(MusicNoticeTest, FadesOutOverAHundredFramesWithoutTouchingTheShow) {
    runMode = RunMode::Saver;
    ArmMusicNotice();
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_GEN_S);
    glColor4ub(1, 2, 3, 4);
    const ShowState before = showState;
    const std::uint32_t random = RandomState();
    for (int frame = 0; frame <= kMusicNoticeFrames; ++frame) {
        const auto drawn = CaptureFeedback([] { DrawMusicNotice(); });
        if (frame == kMusicNoticeFrames) {
            EXPECT_TRUE(drawn.empty());
            break;
        }
        ASSERT_FALSE(drawn.empty()) << frame;
        EXPECT_NEAR(drawn[0].vertices[0][6], (255 - frame * 255 / 100) / 255.0f, 1e-4f);
    }
    EXPECT_EQ(RandomState(), random);
    EXPECT_EQ(showState.showFrame, before.showFrame);
    EXPECT_EQ(showState.emblemAngle, before.emblemAngle);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_NEAR(colour[3], 4 / 255.0f, 1e-4f);
}

TEST_F(MusicNoticeTest, NeverShownInPreview) {
    runMode = RunMode::Preview;
    ArmMusicNotice();
    EXPECT_TRUE(CaptureFeedback([] { DrawMusicNotice(); }).empty());
}

}  // namespace
