// The collapse: from sunTicks 930 (frame 5929) three sun sprites build up a glow in front of
// the camera, and from sunTicks 1005 (frame 6004) a white flash of 13 frames covers the change
// from the sun to the blast scene. The glow stays in the first blast frames and fades with
// blastCountdown, until that reaches 0. Drawn every frame from 5000 on, after the driver has
// advanced the counters; it takes three draws from the random generator per frame it draws,
// and advances flashStep, once per cycle (the restart sets it back to 0).
#include <GL/gl.h>

#include "base/portable_trig.h"
#include "show/plain_quad.h"
#include "show/random.h"
#include "show/scenes.h"
#include "show/show_math.h"
#include "show/show_state.h"
#include "show/textured_quads.h"

namespace {

constexpr int kGlowAfterRays = 185;  // the glow shows once more rays than this have grown
constexpr int kFlashAfterRays = 200;
constexpr int kFlashFrames = 13;
// The glow's alpha grows by 5 of 255 per ray beyond kGlowAfterRays, to 85 of 255, and is
// scaled down as the blast counts down.
constexpr float kGlowAlphaPerRay = 5.0f;
constexpr float kAlphaScale = 255.0f;
constexpr int kSpriteSizeChoices = 3;
constexpr float kSpriteHalfSize = 1.0f;
constexpr float kOuterSpriteHalfSize = 2.0f;
constexpr float kGlowDrop = -0.15f;
constexpr float kGlowDistance = -2.5f;

float SpriteHalfSize(float base) {
    return base + static_cast<float>(Random(kSpriteSizeChoices));
}

void DrawGlowSprites() {
    DrawSunQuad(SpriteHalfSize(kSpriteHalfSize));
    glRotatef(-showState.slowAngle, 0.0f, 0.0f, 1.0f);
    DrawSunQuad(SpriteHalfSize(kSpriteHalfSize));
    glRotatef(static_cast<float>(showState.spinAngle), 0.0f, 0.0f, 1.0f);
    DrawSunQuad(SpriteHalfSize(kOuterSpriteHalfSize));
}

// Rises from alpha 0 on its first frame to nearly 1 in the middle and falls again.
void DrawFlashStep(int rays) {
    if (rays <= kFlashAfterRays || showState.flashStep >= kFlashFrames) return;
    const double alpha = PortableSin(showState.flashStep * kShowPi / kFlashFrames);
    glColor4f(1.0f, 1.0f, 1.0f, static_cast<float>(alpha));
    DrawPlainQuad();
    showState.flashStep += 1;
}

}  // namespace

void DrawCollapseGlow() {
    const int rays = showState.sunTicks / kTicksPerRay;
    if (rays <= kGlowAfterRays || showState.blastCountdown <= 0) return;
    const float fade = static_cast<float>(showState.blastCountdown) / kBlastCountdownStart;
    glColor4f(1.0f, 1.0f, 1.0f,
              fade * kGlowAlphaPerRay * static_cast<float>(rays - kGlowAfterRays) / kAlphaScale);
    glDisable(GL_DEPTH_TEST);
    glTranslatef(0.0f, kGlowDrop, kGlowDistance);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
    DrawGlowSprites();
    glDisable(GL_TEXTURE_2D);
    DrawFlashStep(rays);
    glEnable(GL_TEXTURE_2D);
}
