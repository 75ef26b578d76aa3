#include "show/plain_quad.h"

#include <GL/gl.h>

namespace {
constexpr float kHalfSize = 5.0f;
}  // namespace

void DrawPlainQuad() {
    glBegin(GL_QUADS);
    glVertex3f(-kHalfSize, -kHalfSize, 0.0f);
    glVertex3f(kHalfSize, -kHalfSize, 0.0f);
    glVertex3f(kHalfSize, kHalfSize, 0.0f);
    glVertex3f(-kHalfSize, kHalfSize, 0.0f);
    glEnd();
}
