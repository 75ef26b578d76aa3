#include <gtest/gtest.h>

#include <optional>

#include "settings/settings.h"
#include "show/bitmap_font.h"
#include "show/scenes.h"
#include "show/show_state.h"
#include "show_piece_test.h"

namespace {

constexpr float kOutOfSight = 1000.0f;

class CreditsTest : public ShowPieceTest {
  protected:
    void SetUp() override {
        ShowPieceTest::SetUp();
        if (IsSkipped()) return;
        BuildBitmapFont();
        for (int i = 0; i < kCreditLineCount; ++i) {
            lines_[i] = "AB";
            heights_[i] = kOutOfSight;
        }
        showState.creditLines = lines_;
        showState.creditY = heights_;
    }
    void TearDown() override {
        DeleteBitmapFontLists();
        showState.creditLines = nullptr;
        showState.creditY = nullptr;
    }

    // Line 0 alone at height y: the alpha it is drawn with, or nothing.
    std::optional<int> AlphaOfLineAt(float y) {
        heights_[0] = y;
        const auto drawn = CaptureFeedback([] { DrawCredits(); });
        if (drawn.empty()) return std::nullopt;
        return static_cast<int>(drawn[0].vertices[0][6] * 255.0f + 0.5f);
    }

    const char* lines_[kCreditLineCount] = {};
    float heights_[kCreditLineCount] = {};
};

struct CreditHeight {
    float y;
    bool blur;
    std::optional<int> alpha;
};

TEST_F(CreditsTest, LinesFadeAtTheEdgesAndEveryLineMoves) {
    const CreditHeight rows[] = {
        {80.0f, false, 255}, {400.0f, false, 255}, {440.0f, false, 127},
        {-5.0f, false, 0},   {40.0f, false, 127},  {400.0f, true, 128},
        {440.0f, true, 64},  {490.0f, false, {}},  {-10.0f, false, {}},
    };
    for (const CreditHeight& row : rows) {
        SCOPED_TRACE(row.y);
        settings.useblur = row.blur ? 1 : 0;
        EXPECT_EQ(AlphaOfLineAt(row.y), row.alpha);
        EXPECT_EQ(heights_[0], row.y + 1.0f);
        EXPECT_EQ(heights_[kCreditLineCount - 1], kOutOfSight + 1.0f);
        heights_[kCreditLineCount - 1] = kOutOfSight;
    }
    // What the frame driver finds afterwards: lighting back on, texturing on.
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
}

}  // namespace
