// Drawing of the four-wheel robot: friction, velocity and traction arrows on the
// ground, two axles, four tyres with the front pair steered, the decal, its values.
#include <GL/gl.h>

#include <cmath>

#include "models/constants.h"
#include "models/robots/labels.h"
#include "models/robots/robot4.h"
#include "render/draw_helpers.h"

void TRobot4::Draw(const TDrawContext& dc) const {
  const double s = Scale;
  const double r = WheelR->R;
  glPushMatrix();
  glTranslated(s * PosX, s * PosY, s * r);

  glPushMatrix();
  glTranslated(0, 0, -s * r);
  GroundMarks(Radius, InContact, Recoiling);
  // Force and velocity arrows lie on the ground in world orientation, unscaled.
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  glPushMatrix();
  glColor4f(1, 0, 0, 1);
  glRotated(SafeAtan2(FrictionY, FrictionX) * kDeg - 90, 0, 0, 1);
  OutlineArrowXY(Friction);
  glPopMatrix();
  glPushMatrix();
  glColor4f(0, 1, 0, 1);
  glRotated(SafeAtan2(VitY, VitX) * kDeg - 90, 0, 0, 1);
  OutlineArrowXY(Vit);
  glPopMatrix();
  glPushMatrix();
  glColor4f(0, 0, 1, 1);
  glRotated((Theta + Steer) * kDeg + (Traction < 0 ? 180 : 0), 0, 0, 1);
  OutlineArrowXY(std::fabs(Traction));
  glPopMatrix();
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glPopMatrix();

  glRotated(Theta * kDeg, 0, 0, 1);
  glScaled(s, s, s);

  glPushMatrix();
  glColor3f(0.8f, 0.0f, 0.7f);
  glTranslated(-Track / 2, -Wheelbase / 2, 0);
  glCallList(kListAxle);
  glTranslated(0, Wheelbase, 0);
  glCallList(kListAxle);
  glPopMatrix();

  WheelL->Draw(dc, -Track / 2, Wheelbase / 2, 2);
  WheelR->Draw(dc, Track / 2, Wheelbase / 2, 2);
  WheelRL->Draw(dc, -Track / 2, -Wheelbase / 2, 2);
  WheelRR->Draw(dc, Track / 2, -Wheelbase / 2, 2);

  // No colour of its own: the last wheel's colour shows through the decal picture.
  glEnable(GL_TEXTURE_2D);
  glCallList(kListBody);
  glDisable(GL_TEXTURE_2D);

  DrawIndexLabel(dc, *this, 0.05);
  DrawValueText(dc, *this, "%.3g", Vit, 0.1);
  glPopMatrix();
}
