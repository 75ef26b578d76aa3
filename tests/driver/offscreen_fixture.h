// A real offscreen GL context for the tests of this folder; tests skip when EGL gives none.
#pragma once
#include <gtest/gtest.h>

#include "platform/offscreen_gl.h"

class OffscreenGlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        context_ = CreateOffscreenGlContext();
        if (context_ == nullptr) GTEST_SKIP() << "no offscreen GL context";
    }
    void TearDown() override { DestroyOffscreenGlContext(context_); }

  private:
    OffscreenGlContext* context_ = nullptr;
};
