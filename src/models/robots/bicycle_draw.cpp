// Drawing of the bicycle: ground marks, the tilted rod, the axle, both wheels and
// its index, turned to its heading.
#include <GL/gl.h>
#include <GL/glu.h>

#include "models/constants.h"
#include "models/robots/bicycle.h"
#include "models/robots/labels.h"
#include "render/draw_helpers.h"

void TBicycle::Draw(const TDrawContext& dc) const {
  const double s = Scale;
  const double b = Track;
  const double r = WheelR->R;
  glPushMatrix();
  glTranslated(s * PosX, s * PosY, s * r);

  glPushMatrix();
  glTranslated(0, 0, -s * r);
  GroundMarks(Radius, InContact, Recoiling);
  glPopMatrix();

  glRotated(State[2] * kDeg, 0, 0, 1);
  glScaled(s, s, s);

  if (GLUquadric* q = gluNewQuadric()) {
    gluQuadricDrawStyle(q, GLU_LINE);
    gluQuadricNormals(q, GLU_SMOOTH);
    glPushMatrix();
    glColor3f(0.8f, 0.0f, 0.7f);
    glRotated(-State[0] * kDeg, 1, 0, 0);
    gluCylinder(q, RodRadius, RodRadius, L, 8, 16);
    glPopMatrix();

    glPushMatrix();
    glColor3f(0.4f, 0.0f, 0.7f);
    glTranslated(b / 2, 0, 0);
    glRotated(-90, 0, 1, 0);
    gluCylinder(q, RodRadius, RodRadius, b, 8, 16);
    glPopMatrix();
    gluDeleteQuadric(q);
  }

  WheelL->Draw(dc, -b / 2, 0, 1);
  WheelR->Draw(dc, b / 2, 0, 1);

  DrawIndexLabel(dc, *this, 0.05);
  glPopMatrix();
}
