// The fixture for tests that draw one piece of the show in the program's 640 x 480 offscreen
// context, with the show's records as a fresh run has them, and the views they look through.
#pragma once
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "gl_test_context.h"
#include "show_test_state.h"

class ShowPieceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!gl_.ok()) GTEST_SKIP() << "no offscreen GL context";
        ResetShowForTest();
    }

    GlTestContext gl_;
};

// An orthographic projection of the given box, with the model view matrix left at identity.
inline void LookThroughBox(double left, double right, double bottom, double top, double near,
                           double far) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, right, bottom, top, near, far);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
