// Drawing of the monocycle: ground marks, the tilted rod, the wheel and its values.
#include <GL/gl.h>
#include <GL/glu.h>

#include "models/constants.h"
#include "models/robots/labels.h"
#include "models/robots/monocycle.h"
#include "render/draw_helpers.h"

void TMonocycle::Draw(const TDrawContext& dc) const {
  const double c = Scale;
  const double r = Wheel->R;
  glPushMatrix();
  glTranslated(c * PosX, c * PosY, c * r);

  glPushMatrix();
  glTranslated(0, 0, -c * r);
  GroundMarks(Radius, InContact, Recoiling);
  glPopMatrix();

  glRotated(-Theta * kDeg, 0, 0, 1);
  glScaled(c, c, c);

  glPushMatrix();
  if (GLUquadric* q = gluNewQuadric()) {
    gluQuadricDrawStyle(q, GLU_LINE);
    gluQuadricNormals(q, GLU_SMOOTH);
    glColor3f(0.8f, 0.0f, 0.7f);
    glRotated(-State[0] * kDeg, 1, 0, 0);
    gluCylinder(q, RodRadius, RodRadius, L, 8, 16);
    gluDeleteQuadric(q);
  }
  glPopMatrix();

  Wheel->Draw(dc, 0, 0, 1);

  DrawIndexLabel(dc, *this, 0.025);
  DrawValueText(dc, *this, "Vit=%g", Vit, 0.05);
  DrawValueText(dc, *this, "Ce=%g", Ce, 0.075);
  DrawValueText(dc, *this, "Thetap=%g", State[0], 0.1);
  DrawValueText(dc, *this, "Av=%g", Av, 0.125);
  glPopMatrix();
}
