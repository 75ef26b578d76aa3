// Text over the scene. The emblem: three blades of the outline font's "%" glyph arranged into
// one logo, spun by the captions with `emblemAngle` (frames 3000 to 4999). The credits roll:
// the 110 credits lines scrolling up the screen in the bitmap font, fading in at the bottom
// and out at the top, on the frames after 7000 and before 9200 when `showcred` is on. Each
// credits frame moves every line up by one step, drawn or not (`creditY`).
#include "show/emblem_credits.h"

#include <GL/gl.h>

#include "settings/settings.h"
#include "show/bitmap_font.h"
#include "show/outline_font.h"
#include "show/scenes.h"
#include "show/show_state.h"

namespace {

// The blades' offsets from the first one put the three "%" glyphs about one centre; the
// font draws its "%" as one blade of that logo.
constexpr const char* kBlade = "%";
struct BladePlacement {
    float x, y;
    float degrees;
};
constexpr BladePlacement kOtherBlades[] = {{0.145f, 0.14f, 240.0f}, {0.19f, -0.05f, 120.0f}};
constexpr float kEmblemX = -0.117f;
constexpr float kEmblemY = -0.0215f;
constexpr float kEmblemDepth = -2.0f;

// Heights in the 640 x 480 text space. A line is drawn strictly between the two limits, at
// full alpha between the fade bands, fading over the band's 80 units at either edge.
constexpr float kCreditsSkipBelow = -10.0f;
constexpr float kCreditsSkipFrom = 490.0f;
constexpr float kFadeInEnd = 80.0f;
constexpr float kFadeOutStart = 400.0f;
constexpr float kFadeBand = 80.0f;
constexpr float kScrollStep = 1.0f;
constexpr int kCreditsX = 2;
// Over the blur's trails the credits are drawn at half strength.
constexpr int kFullAlpha = 255;
constexpr int kFullAlphaWithBlur = 128;
constexpr GLubyte kWhite = 255;

// The fractions truncate toward zero. Between 480 and 490 the value goes below zero and is
// handed on as a byte, as all the show's colours are; the line is off the top by then.
int CreditAlpha(float y, int full) {
    if (y < 0.0f) return 0;
    if (y < kFadeInEnd) return static_cast<int>(full * y / kFadeInEnd);
    if (y <= kFadeOutStart) return full;
    return static_cast<int>(full - full * (y - kFadeOutStart) / kFadeBand);
}

}  // namespace

void DrawEmblem(int angle) {
    glPushMatrix();
    glLoadIdentity();
    glRotated(angle, 0.0, 0.0, 1.0);
    glTranslatef(kEmblemX, kEmblemY, kEmblemDepth);
    glPushMatrix();
    PrintOutline(kBlade);
    glPopMatrix();
    for (const BladePlacement& blade : kOtherBlades) {
        glPushMatrix();
        glTranslatef(blade.x, blade.y, 0.0f);
        glRotatef(blade.degrees, 0.0f, 0.0f, 1.0f);
        PrintOutline(kBlade);
        glPopMatrix();
    }
    glPopMatrix();
}

void DrawCredits() {
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
    const int full = settings.useblur != 0 ? kFullAlphaWithBlur : kFullAlpha;
    for (int i = 0; i < kCreditLineCount; ++i) {
        const float y = showState.creditY[i];
        if (y <= kCreditsSkipBelow || y >= kCreditsSkipFrom) continue;
        glColor4ub(kWhite, kWhite, kWhite, static_cast<GLubyte>(CreditAlpha(y, full)));
        PrintBitmap(kCreditsX, static_cast<int>(y), showState.creditLines[i]);
    }
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    glPopMatrix();
    // Every line moves, drawn or not, so the roll keeps its spacing.
    for (int i = 0; i < kCreditLineCount; ++i) showState.creditY[i] += kScrollStep;
}
