// The captions as pictures: each frame's words drawn alone onto black with the real fonts
// and textures, and what the captions may change of the show's state.
#include <cstring>
#include <vector>

#include "show/random.h"
#include "show/scenes.h"
#include "show_fixture.h"

namespace {

enum class Seen { Nothing, Words, White };

struct CaptionFrame {
    const char* what;
    int frame;
    int detail;
    bool matrox;
    int width, height;
    Seen seen;
};

constexpr int kMed = kDetailMedium;
const CaptionFrame kCaptionFrames[] = {
    {"THIS fades in from alpha 0", 0, kMed, false, 160, 120, Seen::Nothing},
    {"THIS at its peak", 500, kMed, false, 160, 120, Seen::Words},
    {"BEGAN and the emblem", 4000, kDetailLow, false, 160, 120, Seen::Words},
    {"no white-out yet", 4950, kMed, false, 160, 120, Seen::Words},
    {"white-out opaque at 4:3", 4990, kMed, false, 640, 480, Seen::White},
    {"white-out opaque at 16:9", 4999, kDetailHigh, false, 1280, 720, Seen::White},
    {"white-out edge to edge at 10:3", 4995, kMed, false, 800, 240, Seen::White},
    {"sun without words", 5000, kMed, false, 160, 120, Seen::Nothing},
    {"sun without words, last", 5399, kMed, false, 160, 120, Seen::Nothing},
    {"countdown", 5450, kDetailLow, false, 160, 120, Seen::Words},
    {"matrox hides THIS", 500, kMed, true, 160, 120, Seen::Nothing},
    {"matrox hides the emblem", 4000, kMed, true, 160, 120, Seen::Nothing},
    {"matrox keeps the white-out", 4995, kMed, true, 640, 480, Seen::White},
    {"matrox hides the warning", 5950, kMed, true, 160, 120, Seen::Nothing},
};

class CaptionsTest : public ShowTest {
  protected:
    static std::vector<std::uint8_t> DrawCaptionsAlone(int frame, int detail) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        showState.showFrame = frame;
        showState.detailLevel = detail;
        DrawCaptions();
        return ReadVirtualModePixels();
    }
    static int LitCount(const std::vector<std::uint8_t>& pixels) {
        int lit = 0;
        for (std::uint8_t value : pixels) lit += value != 0 ? 1 : 0;
        return lit;
    }
};

TEST_F(CaptionsTest, EachFrameShowsItsWordsAndNothingElse) {
    for (const CaptionFrame& row : kCaptionFrames) {
        SCOPED_TRACE(row.what);
        settings.matrox = row.matrox ? 1 : 0;
        UseSize(row.width, row.height);
        const auto [low, high] = ChannelRange(DrawCaptionsAlone(row.frame, row.detail));
        switch (row.seen) {
            case Seen::Nothing:
                EXPECT_EQ(high, 0);
                break;
            case Seen::Words:
                EXPECT_GT(high, 32);
                EXPECT_EQ(low, 0);
                break;
            case Seen::White:
                EXPECT_EQ(low, 255);
                break;
        }
    }
}

// Low detail leaves out the dim copy behind each word of the opening, not the countdown.
TEST_F(CaptionsTest, LowDetailDrawsOnlyFrontCopiesOfTheOpening) {
    UseSize(160, 120);
    EXPECT_LT(LitCount(DrawCaptionsAlone(2500, kDetailLow)),
              LitCount(DrawCaptionsAlone(2500, kDetailMedium)));
    EXPECT_EQ(DrawCaptionsAlone(5450, kDetailLow), DrawCaptionsAlone(5450, kDetailHigh));
}

// The user's caption belongs to the blast scene; the opening always says "VOSTREL".
TEST_F(CaptionsTest, CustomCaptionNeverChangesTheWords) {
    UseSize(160, 120);
    const auto standard = DrawCaptionsAlone(4900, kDetailMedium);
    std::strcpy(settings.vostrel, "HELLO");
    settings.text = 0;
    showState.emblemAngle -= 1;  // the emblem as it stood for the first picture
    EXPECT_EQ(DrawCaptionsAlone(4900, kDetailMedium), standard);
}

struct StateStep {
    int frame;
    bool matrox;
    int randomDraws;
    int emblemStep;
};

// The warning flickers with one draw per frame, whether or not its words can be drawn; the
// emblem's angle moves only while the emblem is up.
TEST_F(CaptionsTest, OnlyTheWarningDrawsRandomNumbersAndOnlyTheEmblemTurns) {
    const StateStep steps[] = {{2999, false, 0, 0}, {3000, false, 0, 1}, {4999, false, 0, 1},
                               {5000, false, 0, 0}, {5899, false, 0, 0}, {5900, false, 1, 0},
                               {5999, false, 1, 0}, {5950, true, 1, 0}};
    for (const StateStep& step : steps) {
        SCOPED_TRACE(step.frame);
        settings.matrox = step.matrox ? 1 : 0;
        const std::uint32_t before = RandomState();
        for (int i = 0; i < step.randomDraws; ++i) NextRandom();
        const std::uint32_t expected = RandomState();
        SetRandomState(before);
        const int angle = showState.emblemAngle;

        DrawCaptionsAlone(step.frame, kDetailMedium);
        EXPECT_EQ(RandomState(), expected);
        EXPECT_EQ(showState.emblemAngle, angle + step.emblemStep);
        EXPECT_EQ(showState.showFrame, step.frame);
    }
}

}  // namespace
