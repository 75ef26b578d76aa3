// A real offscreen GL context for the tests of this folder; tests skip when EGL gives none.
// One context serves the whole test program: the show is set up once per program, and its
// textures and display lists belong to that context. It is destroyed at exit, before the
// leak checker looks, so that no GL driver thread is mid-frame when the process ends.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/offscreen_gl.h"

class OffscreenGlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (SharedContext() == nullptr) GTEST_SKIP() << "no offscreen GL context";
    }

  private:
    static inline OffscreenGlContext* context = nullptr;

    static OffscreenGlContext* SharedContext() {
        static const bool made = [] {
            context = CreateOffscreenGlContext();
            if (context != nullptr) std::atexit([] { DestroyOffscreenGlContext(context); });
            return true;
        }();
        (void)made;
        return context;
    }
};
