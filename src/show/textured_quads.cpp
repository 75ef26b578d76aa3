#include "show/textured_quads.h"

#include <GL/gl.h>

#include "assets/textures.h"

namespace {

constexpr float kRingQuadHalfSize = 0.2f;
// The star backdrop of both 3D scenes: 60 units across, the texture 15 times over.
constexpr float kStarfieldHalfSize = 30.0f;
constexpr float kStarfieldRepeats = 15.0f;

}  // namespace

void DrawTexturedSquare(float h, float m) {
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-h, -h, 0.0f);
    glTexCoord2f(m, 0.0f);
    glVertex3f(h, -h, 0.0f);
    glTexCoord2f(m, m);
    glVertex3f(h, h, 0.0f);
    glTexCoord2f(0.0f, m);
    glVertex3f(-h, h, 0.0f);
    glEnd();
}

void DrawRingQuad() {
    DrawTexturedSquare(kRingQuadHalfSize, 1.0f);
}

void DrawSunQuad(float halfSize) {
    texSun.Bind();
    DrawTexturedSquare(halfSize, 1.0f);
}

void DrawStarfield() {
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    texStelle.Bind();
    DrawTexturedSquare(kStarfieldHalfSize, kStarfieldRepeats);
}

void DrawStarQuad(float halfSize) {
    texStar.Bind();
    DrawTexturedSquare(halfSize, 1.0f);
}
