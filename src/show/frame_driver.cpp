// The frame driver: the order in which one frame is drawn, the counters that step once per
// frame, the short bangs while the sun grows, the end fade and the restart of the cycle.
// The 3D scenes themselves live in their own files; here is only what they share.
#include "show/frame_driver.h"

#include <GL/gl.h>

#include "base/portable_trig.h"
#include "base/run_flags.h"
#include "platform/sound.h"
#include "settings/install_folder.h"
#include "settings/settings.h"
#include "show/frame_overlays.h"
#include "show/music_notice.h"
#include "show/opening.h"
#include "show/random.h"
#include "show/scenes.h"
#include "show/show_math.h"
#include "show/show_setup.h"
#include "show/show_state.h"

namespace {

// The timeline of one cycle, in frames.
constexpr int kSceneCaptionsEndFrame = 6000;  // captions over the 3D scene end before this

// The sun stops growing one tick after its last ray.
constexpr int kSunTicksEnd = kTicksPerRay * kRayCount + 1;
// A short bang every fifth new ray (25 frames).
constexpr int kRaysBetweenBangs = 4;
constexpr int kBangChoices = 1000;

constexpr float kSlowAngleStep = 0.1f;
constexpr float kSlowAngleWrap = 360.0f;
constexpr double kSunYawSwing = 0.05;

constexpr double kCameraTiltBase = -15.0;
constexpr double kCameraTiltSwing = 10.0;
constexpr double kCameraRollSwing = 30.0;
constexpr double kCameraOffsetX = -3.0;
constexpr double kCameraOffsetY = -5.0;
constexpr double kCameraDistance = -10.0;
constexpr GLubyte kSceneWhite = 255;
constexpr GLubyte kSceneAlpha = 192;

void PlaceCamera() {
    const double spin = ShowRadians(showState.spinAngle);
    glLoadIdentity();
    glRotated(kCameraTiltBase -
                  kCameraTiltSwing * PortableCos(PortableSin(ShowRadians(showState.slowAngle))),
              0.0, 1.0, 1.0);
    glRotated(kCameraRollSwing * PortableCos(spin), 1.0, 1.0, 1.0);
    glTranslated(PortableCos(spin) + kCameraOffsetX, PortableSin(spin) + kCameraOffsetY,
                 kCameraDistance);
}

void PlayShortBangWhenDue() {
    const int raysGrown = showState.sunTicks / kTicksPerRay;
    if (raysGrown <= showState.lastBangStep + kRaysBetweenBangs || settings.psound == 0) return;
    showState.lastBangStep = raysGrown;
    PlaySoundEffect(shortBangPaths[ShortBangIndex(Random(kBangChoices))]);
}

void AdvanceSceneCounters() {
    showState.spinAngle = (showState.spinAngle + 1) % kFullCircle;
    PlayShortBangWhenDue();
    showState.slowAngle += kSlowAngleStep;
    if (showState.slowAngle > kSlowAngleWrap) showState.slowAngle = 0.0f;
    if (showState.sunTicks < kSunTicksEnd) {
        showState.sunTicks += 1;
    } else {
        showState.sunPhase = false;
    }
    // The sum is taken in double and rounded once, as float += double does.
    showState.sunYaw = static_cast<float>(
        showState.sunYaw + kSunYawSwing * PortableCos(ShowRadians(showState.spinAngle)));
}

void DrawScene() {
    PlaceCamera();
    glColor4ub(kSceneWhite, kSceneWhite, kSceneWhite, kSceneAlpha);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
    if (showState.sunPhase) {
        DrawSunScene();
    } else {
        DrawBlastScene();
    }
    AdvanceSceneCounters();
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glEnable(GL_BLEND);
    glPushMatrix();
    glLoadIdentity();
    DrawCollapseGlow();
    glPopMatrix();
}

// A new cycle: the scene counters start again, but the slow angles, the ring's radius, the
// emblem and the particles' own values run on from where they stood. The driver's own counters
// here, each scene's in its own file; sunPhase flips, and is false by now, so the sun comes
// first again.
void RestartShow() {
    showState.showFrame = settings.matrox != 0 ? kMatroxStartFrame : 0;
    ResetBlastScene();
    showState.spinAngle = 0;
    ResetSunScene();
    showState.lastBangStep = 0;
    showState.sunPhase = !showState.sunPhase;
    ResetCreditY();
}

}  // namespace

int ShortBangIndex(int n) {
    constexpr int kShare = kBangChoices / kShortBangCount;
    for (int index = kShortBangCount - 1; index > 0; --index) {
        if (n > index * kShare) return index;
    }
    return 0;
}

void RenderShowFrame() {
    if (!showReady) return;  // no tables, textures or fonts to draw with
    const int frame = showState.showFrame;
    const bool inScene = frame >= kSceneStartFrame;
    if (settings.useblur != 0 && inScene) {
        glClear(GL_DEPTH_BUFFER_BIT);
        DrawBlurOverlay(showState.detailLevel);
    } else {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    DrawMusicNotice();
    if (!inScene && showState.detailLevel != kDetailLow && settings.matrox == 0) {
        DrawNebula(frame);
    }
    if (frame > kCreditsAfterFrame && frame < kCreditsBeforeFrame && settings.showcred != 0) {
        DrawCredits();
    }
    if (inScene) {
        DrawScene();
        if (frame < kSceneCaptionsEndFrame) DrawCaptions();
    } else if (previewFlag != 0) {
        DrawPreviewLogo(frame);
    } else {
        DrawCaptions();
    }

    if (showState.showFrame < kFrozenFrame) showState.showFrame += 1;
    const int next = showState.showFrame;
    if (next > kEndFadeStartFrame && settings.restart != 0) {
        DrawEndFade(static_cast<float>(next - kEndFadeStartFrame) / kEndFadeFrames);
        if (next >= kCycleEndFrame) RestartShow();
    }
}
