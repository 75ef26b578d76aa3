#include "display/projection.h"

#include <GL/gl.h>

#include <numbers>

#include "base/portable_trig.h"
#include "display/virtual_mode.h"

namespace {

constexpr double kFieldOfViewDegrees = 45.0;
// The near plane is a single-precision 0.1 widened to double, as the show was tuned with.
constexpr float kNearPlane = 0.1f;
constexpr double kFarPlane = 100.0;

// The perspective matrix of a vertical field of view, column by column, as glFrustum's
// symmetric case; computed here so that its cotangent has the same bits on every system.
void MultPerspective(double fovyDegrees, double aspect, double zNear, double zFar) {
    if (aspect == 0) return;  // an empty viewport keeps the identity: nothing is drawn
    const double radians = fovyDegrees / 2 * std::numbers::pi / 180;
    const double cotangent = PortableCos(radians) / PortableSin(radians);
    const double depth = zFar - zNear;
    const GLdouble m[16] = {cotangent / aspect,
                            0,
                            0,
                            0,
                            0,
                            cotangent,
                            0,
                            0,
                            0,
                            0,
                            -(zFar + zNear) / depth,
                            -1,
                            0,
                            0,
                            -2 * zNear * zFar / depth,
                            0};
    glMultMatrixd(m);
}

}  // namespace

void SetProjection(int width, int height) {
    if (height == 0) height = 1;
    SetPictureViewport(width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    MultPerspective(kFieldOfViewDegrees, static_cast<double>(width) / height, kNearPlane,
                    kFarPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
