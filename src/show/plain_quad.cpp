#include "show/plain_quad.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

constexpr float kHalfSize = 5.0f;
// The widest view the square covers 5 units away: 1 / tan(22.5 degrees) is about 2.414. Up to
// here its corners, and so every pixel, stay exactly as they always were.
constexpr double kSquareCoveredAspect = 2.4;

}  // namespace

double ViewportAspect() {
    GLint viewport[4] = {0, 0, 1, 1};
    glGetIntegerv(GL_VIEWPORT, viewport);
    return viewport[3] > 0 ? static_cast<double>(viewport[2]) / viewport[3] : 1.0;
}

void DrawPlainQuad() {
    const auto halfWidth =
        static_cast<float>(kHalfSize * std::max(1.0, ViewportAspect() / kSquareCoveredAspect));
    glBegin(GL_QUADS);
    glVertex3f(-halfWidth, -kHalfSize, 0.0f);
    glVertex3f(halfWidth, -kHalfSize, 0.0f);
    glVertex3f(halfWidth, kHalfSize, 0.0f);
    glVertex3f(-halfWidth, kHalfSize, 0.0f);
    glEnd();
}
