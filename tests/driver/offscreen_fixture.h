// A real offscreen GL context for the tests of this folder; tests skip when EGL gives none.
// One context serves the whole test program and is never destroyed: terminating EGL unloads
// the GL driver, after which the leak checker can no longer name the driver's own
// process-lifetime allocations, and its suppressions stop matching.
#pragma once
#include <gtest/gtest.h>

#include "platform/offscreen_gl.h"

class OffscreenGlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        static OffscreenGlContext* const context = CreateOffscreenGlContext();
        if (context == nullptr) GTEST_SKIP() << "no offscreen GL context";
    }
};
