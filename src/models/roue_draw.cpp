// Drawing of a wheel: the disc, or the tyre with three spokes on each side, turned
// by its rolling and steering angles.
#include <GL/gl.h>

#include "models/constants.h"
#include "models/roue.h"
#include "render/draw_context.h"

namespace {

void ThreeSpokes(double L) {
  glBegin(GL_LINES);
  glVertex3d(0, 0, 0);
  glVertex3d(0, 0, -L);
  glVertex3d(0, 0, 0);
  glVertex3d(0, 0.86 * L, 0.5 * L);
  glVertex3d(0, 0, 0);
  glVertex3d(0, -0.86 * L, 0.5 * L);
  glEnd();
}

} // namespace

void TRoue::Draw(const TDrawContext& dc, double xOffset, double yOffset, int mode) const {
  // Every wheel is drawn at the reference robot's size, like the shared lists.
  const double L = dc.RefWheelR != 0 ? dc.RefWheelR - 2 * dc.RefWheelTube : R - 2 * Tube;

  glPushMatrix();
  glTranslatef(static_cast<float>(xOffset), static_cast<float>(yOffset), 0.0f);
  if (Delta != 0) glRotated(Delta * kDeg, 0, 0, 1);
  glRotated(-Phi * kDeg, 1, 0, 0);
  glColor3f(0.0f, 0.3f, 0.5f);
  if (mode == 2) {
    glCallList(kListTyre);
    glLineWidth(3);
    ThreeSpokes(L);
    glPushMatrix();
    glRotated(180, 0, 1, 0);
    ThreeSpokes(L);
    glPopMatrix();
    glLineWidth(1);
  } else {
    glCallList(kListWheelDisk);
  }
  glPopMatrix();
}
