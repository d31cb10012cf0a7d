// Tests that draw: a window on the scripted toolkit with a real off-screen
// OpenGL context (EGL), started as the program starts its view, plus helpers to
// read pixels back and to find where a device-space point lands on screen.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/headless/egl_context.h"
#include "render/draw_helpers.h"
#include "test_support.h"
#include "unavailable.h"

struct TRgba8 {
  int r, g, b, a;
};

// Pixels of one frame; (x, y) in window pixels with y = 0 at the bottom row.
struct TFrame {
  int W = 0, H = 0;
  std::vector<std::uint8_t> Rgba;
  TRgba8 At(int x, int y) const {
    const std::uint8_t* p = &Rgba[(static_cast<std::size_t>(y) * W + x) * 4];
    return {p[0], p[1], p[2], p[3]};
  }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < W && y < H; }
};

// Matches a colour given as floats (as the draw routines set it) within `tol`
// of 255.
inline bool Near(const TRgba8& p, TRgb c, int tol = 3) {
  auto close = [tol](int v, float f) {
    return std::abs(v - static_cast<int>(std::lround(f * 255))) <= tol;
  };
  return close(p.r, c.r) && close(p.g, c.g) && close(p.b, c.b);
}

class TGLFormTest : public ::testing::Test, public TFormFixture {
protected:
  static constexpr int kWidth = 320, kHeight = 240;

  void SetUp() override {
    std::string error;
    if (!gl.Create(kWidth, kHeight, error)) SKIP_UNAVAILABLE("no OpenGL context: " + error);
    form->InitGL(kWidth, kHeight);
    form->FormResize(kWidth, kHeight);
  }
  void TearDown() override {
    if (gl.Valid()) form->FormClose();
  }

  TFrame Read() const { return {gl.Width(), gl.Height(), gl.ReadPixels()}; }
  TRgba8 Pixel(int x, int y) const { return Read().At(x, y); }

  // Puts the view centre above device point (x, y), looking straight down from
  // `distance`, with device +x to the right of the screen.
  void LookDownAt(double x, double y, double distance) {
    form->xv = x;
    form->zv = -y;
    form->yv = 0;
    form->zpos = distance;
    form->xrot = 90;
    form->yrot = 0;
  }

  // Window pixel (x, y from the bottom) of device point (x, y, z) under the
  // camera's current values; false if it falls behind the camera.
  bool ProjectDevice(double x, double y, double z, double& wx, double& wy) const {
    GLdouble model[16], proj[16];
    GLint view[4];
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(0, 0, -form->zpos);
    glRotated(form->xrot, 1, 0, 0);
    glTranslated(0, -form->yv, 0);
    glRotated(form->yrot, 0, 1, 0);
    glTranslated(-form->xv, 0, -form->zv);
    glRotated(-90, 1, 0, 0);
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glPopMatrix();
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, view);
    GLdouble wz = 0;
    if (!gluProject(x, y, z, model, proj, view, &wx, &wy, &wz)) return false;
    return wz > 0 && wz < 1;
  }

  // How many pixels of colour `c` lie within `radius` pixels of (wx, wy).
  int CountNear(const TFrame& f, TRgb c, double wx, double wy, int radius, int tol = 3) const {
    int n = 0;
    const int cx = static_cast<int>(std::lround(wx)), cy = static_cast<int>(std::lround(wy));
    for (int y = cy - radius; y <= cy + radius; ++y)
      for (int x = cx - radius; x <= cx + radius; ++x)
        if (f.Inside(x, y) && Near(f.At(x, y), c, tol)) ++n;
    return n;
  }

  TEglContext gl;
};
