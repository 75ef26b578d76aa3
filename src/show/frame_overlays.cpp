#include "show/frame_overlays.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>

#include "settings/settings.h"
#include "show/plain_quad.h"

namespace {

constexpr std::array<int, kDetailHigh + 1> kBlurAlphaByDetail = {64, 96, 128};

// A rectangle just beyond the near plane. Its height covers the 45-degree view; its width
// follows the viewport's aspect, so that wide pictures are covered edge to edge (a fixed
// +-0.06 stopped at about 1.45:1).
constexpr float kOverlayDepth = -0.1f;
constexpr double kOverlayHalfHeight = 0.05;
constexpr double kOverlayMinHalfWidth = 0.06;

void DrawCoveringRectangle() {
    const double halfWidth = std::max(kOverlayMinHalfWidth, kOverlayHalfHeight * ViewportAspect());
    glTranslatef(0.0f, 0.0f, kOverlayDepth);
    glDisable(GL_TEXTURE_2D);
    glRectd(-halfWidth, -kOverlayHalfHeight, halfWidth, kOverlayHalfHeight);
}

void BeginOverlay() {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPushMatrix();
    glLoadIdentity();
}

void EndOverlay() {
    glPopMatrix();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_TEXTURE_2D);
}

}  // namespace

void DrawBlurOverlay(int detailLevel) {
    BeginOverlay();
    const int detail = std::clamp(detailLevel, kDetailLow, kDetailHigh);
    glColor4ub(0, 0, 0, static_cast<GLubyte>(kBlurAlphaByDetail[detail]));
    DrawCoveringRectangle();
    EndOverlay();
}

void DrawEndFade(float alpha) {
    BeginOverlay();
    glColor4f(0.0f, 0.0f, 0.0f, alpha);
    DrawCoveringRectangle();
    EndOverlay();
}
