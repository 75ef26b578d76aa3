// The fixture for tests that draw one piece of the show in the program's 640 x 480 offscreen
// context, with the show's records as a fresh run has them, and the views they look through.
#pragma once
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>

#include "gl_test_context.h"
#include "settings/settings.h"
#include "show/show_setup.h"
#include "show/show_state.h"
#include "show_test_state.h"

class ShowPieceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!gl_.ok()) GTEST_SKIP() << "no offscreen GL context";
        ResetShowForTest();
    }

    GlTestContext gl_;
};

// Shuts down the show before, if any, and sets the show up afresh at the detail `part`
// (kPartLow...); true when it is ready.
inline bool SetUpShowAtDetail(std::uint32_t part) {
    ShutdownShow();
    ResetShowForTest();
    settings.part = part;
    SetupShow(0);
    return showReady;
}

// For tests of pieces that draw from the show's tables: the show set up as a fresh run's
// default settings have it, and shut down after each test.
class SetUpShowTest : public ShowPieceTest {
  protected:
    void SetUp() override {
        ShowPieceTest::SetUp();
        if (IsSkipped()) return;
        SetupShow(0);
        ASSERT_TRUE(showReady);
    }
    void TearDown() override { ShutdownShow(); }
    bool Ready() const { return !IsSkipped() && !HasFatalFailure(); }
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
