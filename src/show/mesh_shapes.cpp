// Every narrowing below is where GLU keeps a float: its angles and caches are floats filled
// from double sines, its products float by float. Keeping each one keeps the picture as GLU
// drew it, up to the last bit of the sines themselves.
#include "show/mesh_shapes.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "base/portable_trig.h"

namespace {

// A float angle, as GLU stores it, of step parts of a half (or whole) turn.
float StepAngle(double turn, int step, int parts) {
    return static_cast<float>(turn * step / parts);
}

float Sin(float angle) {
    return static_cast<float>(PortableSin(angle));
}

float Cos(float angle) {
    return static_cast<float>(PortableCos(angle));
}

// Texture coordinate step / parts, counted as GLU does in float.
float Fraction(int step, int parts) {
    return static_cast<float>(step) / parts;
}

using SliceTable = std::array<float, kMaxMeshSlices + 1>;
using StackTable = std::array<float, kMaxMeshStacks + 1>;

// Sines and cosines of the slices' angles, the first repeated after the last to close the ring.
void FillSlices(int slices, double scale, SliceTable& sines, SliceTable& cosines) {
    for (int i = 0; i < slices; ++i) {
        const float angle = StepAngle(2 * std::numbers::pi, i, slices);
        sines[i] = static_cast<float>(scale * PortableSin(angle));
        cosines[i] = static_cast<float>(scale * PortableCos(angle));
    }
    sines[slices] = sines[0];
    cosines[slices] = cosines[0];
}

}  // namespace

void DrawTexturedSphere(double radius, int slices, int stacks) {
    slices = std::min(slices, kMaxMeshSlices);
    stacks = std::min(stacks, kMaxMeshStacks);
    if (slices < 2 || stacks < 1 || radius < 0.0) return;
    SliceTable sliceSin, sliceCos;
    FillSlices(slices, 1.0, sliceSin, sliceCos);
    // Per stack: the normal's sine and cosine, and the ring's radius and height.
    StackTable normalSin, normalCos, ringRadius, ringZ;
    for (int j = 0; j <= stacks; ++j) {
        const float angle = StepAngle(std::numbers::pi, j, stacks);
        normalSin[j] = Sin(angle);
        normalCos[j] = Cos(angle);
        ringRadius[j] = static_cast<float>(radius * PortableSin(angle));
        ringZ[j] = static_cast<float>(radius * PortableCos(angle));
    }
    // The poles are points, whatever the sine of pi rounds to.
    ringRadius[0] = 0.0f;
    ringRadius[stacks] = 0.0f;
    for (int j = 0; j < stacks; ++j) {
        glBegin(GL_QUAD_STRIP);
        for (int i = 0; i <= slices; ++i) {
            const float s = 1 - Fraction(i, slices);
            glNormal3f(sliceSin[i] * normalSin[j + 1], sliceCos[i] * normalSin[j + 1],
                       normalCos[j + 1]);
            glTexCoord2f(s, 1 - Fraction(j + 1, stacks));
            glVertex3f(ringRadius[j + 1] * sliceSin[i], ringRadius[j + 1] * sliceCos[i],
                       ringZ[j + 1]);
            glNormal3f(sliceSin[i] * normalSin[j], sliceCos[i] * normalSin[j], normalCos[j]);
            glTexCoord2f(s, 1 - Fraction(j, stacks));
            glVertex3f(ringRadius[j] * sliceSin[i], ringRadius[j] * sliceCos[i], ringZ[j]);
        }
        glEnd();
    }
}

void DrawTexturedCylinder(double baseRadius, double topRadius, double height, int slices,
                          int stacks) {
    slices = std::min(slices, kMaxMeshSlices);
    if (slices < 2 || stacks < 1 || baseRadius < 0.0 || topRadius < 0.0 || height < 0.0) return;
    const float deltaRadius = static_cast<float>(baseRadius - topRadius);
    const float length = static_cast<float>(std::sqrt(deltaRadius * deltaRadius + height * height));
    if (length == 0.0f) return;
    // The side's normal leans along z by the slope; its xy part shrinks to match.
    const float zNormal = deltaRadius / length;
    const float xyNormal = static_cast<float>(height / length);
    SliceTable sliceSin, sliceCos, normalSin, normalCos;
    FillSlices(slices, 1.0, sliceSin, sliceCos);
    FillSlices(slices, xyNormal, normalSin, normalCos);
    for (int j = 0; j < stacks; ++j) {
        const float zLow = static_cast<float>(j * height / stacks);
        const float zHigh = static_cast<float>((j + 1) * height / stacks);
        const float radiusLow = static_cast<float>(baseRadius - deltaRadius * Fraction(j, stacks));
        const float radiusHigh =
            static_cast<float>(baseRadius - deltaRadius * Fraction(j + 1, stacks));
        glBegin(GL_QUAD_STRIP);
        for (int i = 0; i <= slices; ++i) {
            const float s = 1 - Fraction(i, slices);
            glNormal3f(normalSin[i], normalCos[i], zNormal);
            glTexCoord2f(s, Fraction(j, stacks));
            glVertex3f(radiusLow * sliceSin[i], radiusLow * sliceCos[i], zLow);
            glTexCoord2f(s, Fraction(j + 1, stacks));
            glVertex3f(radiusHigh * sliceSin[i], radiusHigh * sliceCos[i], zHigh);
        }
        glEnd();
    }
}
