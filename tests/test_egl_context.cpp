// The off-screen context: it draws, reads back both ways up, and fails cleanly.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include "platform/headless/egl_context.h"
#include "unavailable.h"

TEST(EglContext, ReadsBackBothWaysUpAndRejectsAnEmptySurface) {
  TEglContext empty;
  std::string error;
  EXPECT_FALSE(empty.Create(0, 10, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(empty.Valid());
  EXPECT_TRUE(empty.ReadPixels().empty());

  TEglContext gl;
  if (!gl.Create(64, 32, error)) SKIP_UNAVAILABLE("no OpenGL context: " + error);
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, 0, 64, 1); // the bottom row blue
  glClearColor(0, 0, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
  const auto up = gl.ReadPixels(), down = gl.ReadPixelsTopDown();
  ASSERT_EQ(up.size(), 64u * 32 * 4);
  // The bottom row comes first in GL order and last top-down.
  EXPECT_EQ(up[0], 0);
  EXPECT_EQ(up[2], 255);
  EXPECT_EQ(down[0], 255);
  EXPECT_EQ(down[(31 * 64) * 4 + 2], 255);
  GLint depth = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depth);
  EXPECT_GE(depth, 16);
}
