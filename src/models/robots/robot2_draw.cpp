// Drawing of the two-wheel robot: its ground marks, two axles, two spoked-disc
// wheels, the decal over red, and its index.
#include <GL/gl.h>

#include "models/constants.h"
#include "models/robots/labels.h"
#include "models/robots/robot2.h"
#include "render/draw_helpers.h"

void TRobot2::Draw(const TDrawContext& dc) const {
  const double s = Scale;
  const double r = WheelR->R;
  glPushMatrix();
  glTranslated(s * PosX, s * PosY, s * r);

  glPushMatrix();
  glTranslated(0, 0, -s * r);
  GroundMarks(Radius, InContact, Recoiling);
  glPopMatrix();

  glRotated(-Theta * 180.0 / kPi, 0, 0, 1);
  glScaled(s, s, s);

  glPushMatrix();
  glColor3f(0.8f, 0.0f, 0.7f);
  glTranslated(-Track / 2, -Wheelbase / 2, 0);
  glCallList(kListAxle);
  glTranslated(0, Wheelbase, 0);
  glCallList(kListAxle);
  glPopMatrix();

  WheelL->Draw(dc, -Track / 2, Wheelbase / 2, 1);
  WheelR->Draw(dc, Track / 2, Wheelbase / 2, 1);

  // Red shows through the transparent texels of the decal picture.
  glColor3f(1.0f, 0.0f, 0.0f);
  glEnable(GL_TEXTURE_2D);
  glCallList(kListBody);
  glDisable(GL_TEXTURE_2D);

  DrawIndexLabel(dc, *this, 0.05);
  glPopMatrix();
}
