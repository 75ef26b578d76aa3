// What the viewer sees: the explosion after the sun's collapse. With the long bang, a shock
// ring of orange sparks spreads out and fades, comets fall and rise through the centre,
// debris flies out and is thrown out anew with another bang every 251 frames, two pulsing
// sun sprites and a sparkle throb at the centre, and the caption floats in front of the
// camera in shiny letters. The scene starts shifted toward the viewer, settles back over
// its first 70 frames and bobs slowly up and down.
//
// Frames: every 3D frame once the sun phase is over (from frame 6012 of a cycle until the
// restart, or for ever without restart). State advanced: blastCountdown (70 down to 0),
// ringRadius and ringAlpha (the ring's cycle), burstTimer (the burst cycle) and the particle
// records; ResetBlastScene puts all but the ring's radius and the particles' own values back
// at the restart.
#include <GL/gl.h>

#include "assets/textures.h"
#include "base/portable_trig.h"
#include "platform/sound.h"
#include "settings/settings.h"
#include "show/outline_font.h"
#include "show/particles.h"
#include "show/random.h"
#include "show/scenes.h"
#include "show/show_math.h"
#include "show/show_setup.h"
#include "show/show_state.h"
#include "show/textured_quads.h"

namespace {

// The approach: at the countdown's start the scene sits this much nearer and higher per
// countdown step, and settles back as the countdown runs out.
constexpr double kApproachX = 0.01;
constexpr double kApproachZ = 0.08;
constexpr double kApproachLift = 0.001 * 2.25 / 5.0;  // times the countdown squared
constexpr double kSceneOffsetX = 1.5;
constexpr double kSceneOffsetY = 2.75;
// The slow bob, in frames of the show's own counter.
constexpr double kBobHeight = 3.5;
constexpr double kBobPeriodFrames = 1749.6;
constexpr double kBobPhase = 12000.0;  // subtracted from twice the frame number

constexpr double kStarfieldX = -15.0;
constexpr double kStarfieldY = -1.0;
constexpr double kStarfieldDistance = -5.0;

// The caption lies tilted back by about 45 degrees, rocks gently and drifts with the slow
// angle; the sphere map makes its letters shine.
constexpr double kCaptionX = -2.1;
constexpr double kCaptionBob = 0.2;
constexpr double kCaptionY = -1.5;
constexpr double kCaptionDistance = -5.0;
constexpr double kCaptionRock = -5.0;
constexpr double kCaptionTilt = -45.0;
constexpr double kCaptionTiltSwing = 30.0;
constexpr double kCaptionCentreX = -0.75;
constexpr double kCaptionCentreY = -0.25;
constexpr GLubyte kCaptionBlue = 224;
constexpr GLubyte kCaptionGrey = 192;
constexpr GLubyte kCaptionAlpha = 128;

// The ring grows by 6.275 units over the 251 frames it takes to fade, then starts again
// small; the debris burst comes every 251 frames, in step with it.
constexpr double kRingGrowth = 0.025;
constexpr int kRingAlphaLowest = 5;
constexpr float kRingRestartRadius = 0.1f;
constexpr int kBurstPeriod = 250;  // a burst when the timer passes it

// The centre's sprites: nearly opaque for seven frames after a burst (the byte wraps), then
// brightening over the burst cycle.
constexpr int kCentreFlashFrames = 7;
constexpr GLubyte kCentreWhite = 255;
constexpr double kCentrePulse = 0.5;
constexpr double kSparkleStep = 0.0035;
constexpr int kSparkleChoices = 1000;
constexpr double kSparkleMinSize = 0.5;
constexpr int kCentreBeat = 9;  // the inner sprite pulses nine times per turn
constexpr double kCentreGrowthStep = 0.005;
constexpr int kCentreGrowthChoices = 100;

void PlayLongBang() {
    if (settings.psound != 0) PlaySoundEffect(bangPath);
}

// Nearer while the countdown runs, then only the bob.
void PlaceBlast(int frame, int countdown) {
    const double bob =
        kBobHeight * PortableSin((2.0 * frame - kBobPhase) * kShowPi / kBobPeriodFrames);
    glTranslated(kApproachX * countdown + kSceneOffsetX,
                 bob + kSceneOffsetY + kApproachLift * countdown * countdown,
                 kApproachZ * countdown);
}

void DrawBackdrop() {
    glPushMatrix();
    glTranslated(kStarfieldX, kStarfieldY,
                 PortableCos(ShowRadians(showState.spinAngle)) + kStarfieldDistance);
    if (settings.starfield != 0) DrawStarfield();
    glPopMatrix();
}

void DrawCaption() {
    const double spin = ShowRadians(showState.spinAngle);
    const double slow = ShowRadians(showState.slowAngle);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(kCaptionX, kCaptionBob * PortableSin(slow) + kCaptionY,
                 PortableCos(2.0 * slow) + kCaptionDistance);
    glRotated(kCaptionRock * PortableSin(spin), 0.0, 1.0, 0.0);
    glRotated(kCaptionTilt - kCaptionTiltSwing * PortableCos(3.0 * spin), 1.0, 0.0, 0.0);
    glTranslated(kCaptionCentreX, kCaptionCentreY, 0.0);
    texStelle2.Bind();
    glColor4ub(kCaptionGrey, kCaptionGrey, kCaptionBlue, kCaptionAlpha);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    PrintOutline(settings.vostrel);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glPopMatrix();
}

void DrawParticles() {
    texStar.Bind();
    for (int arm = 0; arm < showState.ringArmCount; ++arm) {
        glPushMatrix();
        glRotatef(static_cast<float>(arm * kFullCircle / showState.ringArmCount), 0.0f, 1.0f, 0.0f);
        glTranslatef(showState.ringRadius, 0.0f, 0.0f);
        for (int layer = 0; layer < kRingLayers; ++layer) DrawRingParticle(arm, layer);
        glPopMatrix();
    }
    for (int i = 0; i < showState.cometCount; ++i) DrawComet(i, showState.spinAngle);
    for (int i = 0; i < showState.debrisCount; ++i) DrawDebris(i);
}

// The ring fades one step per frame and starts again, small, before it would fall below
// the lowest alpha a spark is drawn with.
void AdvanceRing() {
    showState.ringRadius += kRingGrowth;
    showState.ringAlpha -= 1;
    if (showState.ringAlpha < kRingAlphaLowest) {
        showState.ringAlpha = kRingAlphaFull;
        showState.ringRadius = kRingRestartRadius;
    }
}

void BurstWhenDue() {
    showState.burstTimer += 1;
    if (showState.burstTimer <= kBurstPeriod) return;
    showState.burstTimer = 0;
    PlayLongBang();
    InitialiseDebris();  // the same draws, in the same order, as the set-up's
}

void DrawCentre() {
    const int spin = showState.spinAngle;
    const double spinCos = PortableCos(ShowRadians(spin));
    const double beat = PortableSin(ShowRadians(kCentreBeat * spin));
    glColor4ub(kCentreWhite, kCentreWhite, kCentreWhite,
               static_cast<GLubyte>(showState.burstTimer - kCentreFlashFrames));
    glRotatef(static_cast<float>(-2 * spin), 0.0f, 0.0f, 1.0f);
    DrawSunQuad(static_cast<float>(kCentrePulse * spinCos * spinCos + kCentrePulse));
    DrawStarQuad(static_cast<float>(kSparkleStep * Random(kSparkleChoices) + kSparkleMinSize));
    glRotatef(static_cast<float>(spin), 0.0f, 0.0f, 1.0f);
    DrawSunQuad(static_cast<float>(beat * beat + kCentreGrowthStep * Random(kCentreGrowthChoices) *
                                                     showState.burstTimer / kBurstPeriod));
}

}  // namespace

void ResetBlastScene() {
    showState.ringAlpha = kRingAlphaFull;
    showState.burstTimer = 0;
    showState.blastCountdown = kBlastCountdownStart;
    for (int i = 0; i < showState.debrisCount; ++i) showState.debris[i].distance = 0.0f;
}

void DrawBlastScene() {
    const int countdown = showState.blastCountdown;
    if (countdown == kBlastCountdownStart) PlayLongBang();
    PlaceBlast(showState.showFrame, countdown);
    glShadeModel(GL_FLAT);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    DrawBackdrop();
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    if (settings.text != 0) DrawCaption();
    DrawParticles();
    AdvanceRing();
    BurstWhenDue();
    DrawCentre();
    if (showState.blastCountdown > 0) showState.blastCountdown -= 1;
}
