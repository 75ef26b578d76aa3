#include "show/opening.h"

#include <GL/gl.h>

#include "assets/textures.h"
#include "base/portable_trig.h"
#include "base/run_flags.h"
#include "show/show_state.h"
#include "show/textured_quads.h"

namespace {

constexpr float kNebulaHalfSize = 15.0f;
constexpr float kNebulaLayerHalfSize = 10.0f;
constexpr int kNebulaFadeInFrames = 256;
constexpr int kNebulaAlpha = 128;
constexpr float kLogoHalfSize = 0.2f;
constexpr int kLogoWhiteningStart = 2500;
constexpr int kLogoWhiteningFrames = 2500;

float Wave(double frame, double period) {
    return static_cast<float>(PortableSin(frame / period));
}
float CoWave(double frame, double period) {
    return static_cast<float>(PortableCos(frame / period));
}

}  // namespace

// The glow's paths take the raw frame number as radians, so it drifts over hundreds of
// frames.
void DrawNebula(int f) {
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(2.0f * Wave(f, 500.0), Wave(f, 1500.0) - 0.25f, -0.5f);
    glRotatef(10.0f * CoWave(f, 100.0), 0.0f, 1.0f, 0.0f);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    const int alpha = f < kNebulaFadeInFrames ? f / 2 : kNebulaAlpha;
    glColor4ub(32, 64, 128, static_cast<GLubyte>(alpha));
    glRotatef(180.0f * Wave(f, 1250.0), 0.0f, 0.0f, 1.0f);
    if (previewFlag == 0) DrawSunQuad(kNebulaHalfSize);
    if (showState.detailLevel == kDetailHigh) {
        glPushMatrix();
        glLoadIdentity();
        glTranslatef(Wave(f, 750.0), 2.0f * Wave(f, 1500.0) - 0.25f,
                     -0.5f - 0.4f * Wave(f, 1000.0));
        glRotatef(180.0f * CoWave(f, 1250.0), 0.0f, 0.0f, 1.0f);
        DrawSunQuad(kNebulaLayerHalfSize);
        glPopMatrix();
    }
    glPopMatrix();
}

// The logo stays plain for 2500 frames, then a white copy over it fades in until frame 5000.
void DrawPreviewLogo(int f) {
    glLoadIdentity();
    glTranslatef(0.0f, -0.01f, -0.35f);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_2D);
    texFront.Bind();
    glColor4ub(255, 255, 255, 255);
    glPushMatrix();
    glRotatef(180.0f, 1.0f, 0.0f, 0.0f);
    DrawTexturedSquare(kLogoHalfSize, 1.0f);
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    const int white =
        f < kLogoWhiteningStart ? 0 : (f - kLogoWhiteningStart) * 255 / kLogoWhiteningFrames;
    glColor4ub(255, 255, 255, static_cast<GLubyte>(white));
    DrawTexturedSquare(kLogoHalfSize, 1.0f);  // untextured now: the white veil
}
