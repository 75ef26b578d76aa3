// The burning sun, frames 5000 to the collapse (6011 in a normal cycle): a fire sphere with a
// flickering red, wrapped in one to four translucent shells by detail level, in front of the
// starfield; a new ray every five ticks, each a thin grey cone from ten units out into the
// centre, ending in a star sparkle on the surface; and over the first 50 frames the white
// layer left by the opening's white-out, fading out. It reads the scene counters as they stood
// at the start of the frame and advances nothing but the random generator: one draw for the
// sun's red, one per ray drawn, one for the inner shell's red when that shell is drawn. At the
// restart ResetSunScene starts the sun's growth (sunTicks) and the collapse flash over.
#include <GL/gl.h>

#include "assets/textures.h"
#include "base/portable_trig.h"
#include "settings/settings.h"
#include "show/mesh_shapes.h"
#include "show/plain_quad.h"
#include "show/random.h"
#include "show/scenes.h"
#include "show/show_math.h"
#include "show/show_state.h"
#include "show/textured_quads.h"

namespace {

constexpr int kWhiteLayerFrames = 50;
constexpr int kOpaque = 255;
constexpr GLubyte kFull = 255;
constexpr GLubyte kTranslucent = 192;

// The scene's origin: the starfield hangs here, swaying in depth with spinAngle, and the sun
// stands at kSunOffset from it.
constexpr double kSceneOffsetX = -10.0;
constexpr double kSceneOffsetY = -1.0;
constexpr double kSceneOffsetZ = -5.0;
constexpr float kSunOffset[3] = {12.0f, 6.0f, 10.0f};
constexpr float kQuarterTurn = 90.0f;
constexpr float kHalfTurn = 180.0f;

constexpr GLint kSphereSlices = 40;
constexpr GLint kSphereStacks = 20;
constexpr GLdouble kSunRadius = 1.0;
constexpr GLdouble kInnerShellRadius = 1.025;
constexpr GLdouble kEnvShellRadius = 1.05;
constexpr GLdouble kOrangeShellRadius = 1.075;
constexpr GLdouble kGreyShellRadius = 1.1;
constexpr int kSunRedBase = 200;
constexpr int kSunRedFlicker = 55;
constexpr int kShellRedBase = 128;
constexpr int kShellRedFlicker = 127;
constexpr int kShellRedFullTicks = 1000;  // the inner shell's flicker reaches full height here
// The shells turn 2, 4 and 6 times slowAngle about their own axes (the inner one turns
// against the sun), so the layers drift over each other.
constexpr float kSunTurns = 2.0f;
constexpr float kEnvShellTurns = 2.0f;
constexpr float kOrangeShellTurns = 4.0f;
constexpr float kGreyShellTurns = 6.0f;
constexpr GLubyte kOrange[4] = {192, 64, 32, 192};
constexpr GLubyte kGrey[4] = {192, 192, 192, 128};

// A ray's cone starts ten units out and ends in the sun's centre; its sparkle sits one unit
// from the centre, on the surface.
constexpr GLdouble kRayLength = 10.0;
constexpr GLint kConeSlices = 3;
constexpr GLint kConeStacks = 3;
constexpr int kRayWidthChoices = 200;
constexpr double kRayGrowth = 1e-9;  // times sunTicks squared: the widest extra width is 0.199
constexpr double kRayBaseWidth = 0.1;
constexpr GLubyte kRayGrey = 128;
constexpr float kSparkleDistance = 9.0f;
constexpr float kSparkle = 0.15f;
constexpr float kSparkleLarge = 0.25f;
constexpr float kSparkleSmall = 0.075f;
constexpr int kLowDetailRayStep = 3;  // at low detail only every third ray is drawn
constexpr double kSecondConeScale = 2.0;

constexpr float kWhiteLayerDepth = -5.0f;

void DrawSphere(GLdouble radius) {
    DrawTexturedSphere(radius, kSphereSlices, kSphereStacks);
}

void DrawCone(GLdouble baseRadius) {
    DrawTexturedCylinder(baseRadius, 0.0, kRayLength, kConeSlices, kConeStacks);
}

void ObjectLinearTexCoords() {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
}

void SetTexCoordGeneration(bool on) {
    if (on) {
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    } else {
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }
}

void SetLighting(bool on) {
    if (on) {
        glEnable(GL_LIGHT0);
        glEnable(GL_LIGHTING);
    } else {
        glDisable(GL_LIGHT0);
        glDisable(GL_LIGHTING);
    }
}

void DrawFireSphere() {
    glColor4ub(static_cast<GLubyte>(kSunRedBase + Random(kSunRedFlicker)), kFull, kFull, kFull);
    texFire.Bind();
    DrawSphere(kSunRadius);
}

// Blending is switched on inside every ray, so the shells after the rays are translucent
// only once the first ray has grown.
void DrawRay(int i, int sunTicks) {
    const int detail = showState.detailLevel;
    const bool drawn = detail != kDetailLow || i % kLowDetailRayStep == 0;
    glPushMatrix();
    glRotatef(showState.rayDirs[i].xRotation, 1.0f, 0.0f, 0.0f);
    glRotatef(showState.rayDirs[i].yRotation, 0.0f, 1.0f, 0.0f);
    glTranslated(0.0, 0.0, -kRayLength);

    glPushMatrix();
    glRotatef(static_cast<float>(showState.spinAngle), 0.0f, 0.0f, 1.0f);
    glDisable(GL_TEXTURE_2D);
    glColor4ub(kRayGrey, kRayGrey, kRayGrey, kFull);
    glEnable(GL_BLEND);
    glShadeModel(GL_SMOOTH);
    const double growth = sunTicks * kRayGrowth * sunTicks;
    const double width = Random(kRayWidthChoices) * growth + kRayBaseWidth;
    if (drawn) DrawCone(width);
    if (detail == kDetailHigh) DrawCone(kSecondConeScale * width);
    glPopMatrix();

    glPushMatrix();
    glTranslatef(0.0f, 0.0f, kSparkleDistance);
    SetTexCoordGeneration(false);
    glEnable(GL_TEXTURE_2D);
    glColor4ub(kFull, kFull, kFull, kTranslucent);
    glRotatef(kHalfTurn, 1.0f, 0.0f, 0.0f);  // the sparkle faces away from the centre
    glEnable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    if (drawn) DrawStarQuad(kSparkle);
    if (detail == kDetailHigh) DrawStarQuad(kSparkleLarge);
    if (detail != kDetailLow) DrawStarQuad(kSparkleSmall);
    glEnable(GL_DEPTH_TEST);
    SetTexCoordGeneration(true);
    glPopMatrix();
    glPopMatrix();
}

void DrawShell(GLdouble radius, float turns) {
    glPushMatrix();
    glRotatef(turns * showState.slowAngle, 0.0f, 0.0f, 1.0f);
    glRotatef(kQuarterTurn, 1.0f, 0.0f, 0.0f);
    DrawSphere(radius);
    glPopMatrix();
}

void DrawShells(int sunTicks) {
    const int detail = showState.detailLevel;
    if (detail != kDetailLow) {
        glPushMatrix();
        glRotatef(-kSunTurns * showState.slowAngle, 1.0f, 1.0f, 1.0f);
        glRotatef(kQuarterTurn, 1.0f, 0.0f, 0.0f);
        const int red = Random(kShellRedFlicker) * sunTicks / kShellRedFullTicks + kShellRedBase;
        glColor4ub(static_cast<GLubyte>(red), kFull, kFull, kTranslucent);
        DrawSphere(kInnerShellRadius);
        glPopMatrix();
    }
    glDisable(GL_DEPTH_TEST);
    texEnv.Bind();
    glColor4ub(kFull, kFull, kFull, kTranslucent);
    DrawShell(kEnvShellRadius, kEnvShellTurns);
    if (detail != kDetailLow) {
        glColor4ubv(kOrange);
        DrawShell(kOrangeShellRadius, kOrangeShellTurns);
    }
    if (detail == kDetailHigh) {
        glColor4ubv(kGrey);
        DrawShell(kGreyShellRadius, kGreyShellTurns);
    }
}

void DrawSun() {
    const int sunTicks = showState.sunTicks;
    glPushMatrix();
    glTranslatef(kSunOffset[0], kSunOffset[1], kSunOffset[2]);
    glRotatef(showState.sunYaw, 0.0f, 1.0f, 0.0f);
    glRotatef(kQuarterTurn, 1.0f, 0.0f, 0.0f);
    glColor4ub(kFull, kFull, kFull, kFull);
    ObjectLinearTexCoords();
    SetTexCoordGeneration(true);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glRotatef(kSunTurns * showState.slowAngle, 1.0f, 1.0f, 1.0f);
    DrawFireSphere();
    glDisable(GL_CULL_FACE);
    glColor4ub(kFull, kFull, kFull, kFull);
    for (int i = 0; i < sunTicks / kTicksPerRay; ++i) DrawRay(i, sunTicks);
    SetLighting(true);
    glShadeModel(GL_SMOOTH);
    ObjectLinearTexCoords();
    texFire.Bind();
    DrawShells(sunTicks);
    glDisable(GL_CULL_FACE);
    glShadeModel(GL_SMOOTH);
    glPopMatrix();
}

// What is left of the opening's white-out, fading from opaque to nothing in 50 frames.
void DrawWhiteLayer(int f) {
    SetLighting(false);
    SetTexCoordGeneration(false);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, kWhiteLayerDepth);
    glDisable(GL_TEXTURE_2D);
    const int alpha = kOpaque - (f - kSceneStartFrame) * kOpaque / kWhiteLayerFrames;
    glColor4ub(kFull, kFull, kFull, static_cast<GLubyte>(alpha));
    DrawPlainQuad();
    glEnable(GL_TEXTURE_2D);
    SetTexCoordGeneration(true);
    SetLighting(true);
}

}  // namespace

void ResetSunScene() {
    showState.sunTicks = 0;
    showState.flashStep = 0;
}

void DrawSunScene() {
    const int f = showState.showFrame;
    glShadeModel(GL_SMOOTH);
    SetLighting(false);
    glTranslated(kSceneOffsetX, kSceneOffsetY,
                 PortableCos(ShowRadians(showState.spinAngle)) + kSceneOffsetZ);
    if (settings.starfield != 0) DrawStarfield();
    SetLighting(true);
    DrawSun();
    if (f < kSceneStartFrame + kWhiteLayerFrames) DrawWhiteLayer(f);
}
