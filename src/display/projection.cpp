#include "display/projection.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

constexpr double kFieldOfViewDegrees = 45.0;
// The near plane is a single-precision 0.1 widened to double, as the show was tuned with.
constexpr float kNearPlane = 0.1f;
constexpr double kFarPlane = 100.0;

}  // namespace

void SetProjection(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfViewDegrees, static_cast<double>(width) / height, kNearPlane, kFarPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
