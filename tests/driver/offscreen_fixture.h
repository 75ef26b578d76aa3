// A real offscreen GL context for the tests of this folder; tests skip when EGL gives none.
// One context serves the whole test program and lives as long as it: the show is set up once
// per program, and its textures and display lists belong to that context.
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
