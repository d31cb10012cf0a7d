// Drawing of the differential robot: velocity and wheel-speed arrows on the
// ground, its axle and wheels, the textured top face, its values.
#include <GL/gl.h>

#include "models/constants.h"
#include "models/robots/labels.h"
#include "models/robots/robotk.h"
#include "render/draw_helpers.h"

void TRobotK::Draw(const TDrawContext& dc) const {
  const double s = Scale;
  const double r = WheelR->R;
  const double aR = 0.1 * WheelR->SpinRate;
  const double aL = 0.1 * WheelL->SpinRate;
  glPushMatrix();
  glTranslated(s * PosX, s * PosY, s * r);
  glRotated(Theta * kDeg, 0, 0, 1);

  glPushMatrix();
  glTranslated(0, 0, -s * r);
  GroundMarks(Radius, InContact, Recoiling);
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  glPushMatrix();
  glColor3f(0, 1, 0);
  OutlineArrowXY(Vit);
  glPopMatrix();
  glPushMatrix();
  glColor3f(0, 0, 1);
  glTranslated(Track / 2, 0, 0);
  OutlineArrowXY(aR);
  glPopMatrix();
  glPushMatrix();
  glColor3f(0, 0, 1);
  glTranslated(-Track / 2, 0, 0);
  OutlineArrowXY(aL);
  glPopMatrix();
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glPopMatrix();

  glScaled(s, s, s);

  glPushMatrix();
  glColor3f(0.8f, 0.0f, 0.7f);
  glTranslated(-Track / 2, 0, 0);
  glCallList(kListAxle);
  glPopMatrix();

  WheelL->Draw(dc, -Track / 2, 0, 1);
  WheelR->Draw(dc, Track / 2, 0, 1);

  // Only the textured top face; the wheel colour shows through the decal picture.
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, dc.TexPicture);
  const double w = BodyWidth / 2, l = BodyLength / 2, z = BodyHeight / 2;
  glBegin(GL_QUADS);
  glNormal3d(0, 0, 1);
  glTexCoord2d(0, 0);
  glVertex3d(-w, -l, z);
  glTexCoord2d(1, 0);
  glVertex3d(-w, l, z);
  glTexCoord2d(1, 1);
  glVertex3d(w, l, z);
  glTexCoord2d(0, 1);
  glVertex3d(w, -l, z);
  glEnd();
  glDisable(GL_TEXTURE_2D);

  DrawIndexLabel(dc, *this, 0.05);
  DrawValueText(dc, *this, "%.3g", Vit, 0.1);
  glPopMatrix();
}
