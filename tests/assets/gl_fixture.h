// A fixture that gives each test the program's offscreen GL context (support/gl_test_context.h)
// and a scratch folder, with helpers that read a texture back.
#pragma once
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "assets/texture.h"
#include "jpeg_writer.h"
#include "temp_folder.h"

// "The context is gone" is played by making no context current, which is what texture objects
// test before calling GL.
class GlTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(MakeTestContextCurrent()) << "no offscreen GL context"; }

    static bool MakeTestContextCurrent();
    static void ReleaseTestContext();

    TempFolder scratch;
};

// Level 0 of the texture, rows from t = 0, in the given format (GL_RGBA, GL_LUMINANCE...).
std::vector<GLubyte> ReadTexels(const Texture& texture, GLenum format, int components);
GLint LevelParameter(const Texture& texture, GLenum parameter);
// True when the texture holds the 2 x 2 black-and-white checker and reads 2 x 2.
::testing::AssertionResult HoldsChecker(const Texture& texture);
