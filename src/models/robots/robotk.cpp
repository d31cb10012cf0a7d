#include "models/robots/robotk.h"

#include <GL/gl.h>

#include <cmath>

#include "models/constants.h"
#include "models/field_visitor.h"
#include "models/form_shared.h"
#include "models/robots/labels.h"
#include "render/draw_helpers.h"

TRobotK::TRobotK(double x0, double y0, int index) : TRobot2(x0, y0, index) {
  TypeCode = kTypeRobotK;
  BodyWidth = 0.12;
  BodyLength = 0.12;
  BodyHeight = 0.06;
  TRobotK::Reset();
  SpinMax = 10;
}

void TRobotK::Step(double h) {
  if (AdvanceRecoil(h)) {
    WheelR->SpinRate = 0;
    WheelL->SpinRate = 0;
  }

  const double wR = WheelR->SpinRate;
  const double wL = WheelL->SpinRate;
  const double r = WheelR->R;
  Vit = (wR + wL) * 0.5 * r;
  VitX = -std::sin(Theta) * Vit;
  VitY = std::cos(Theta) * Vit;
  PosX += VitX * h;
  PosY += VitY * h;
  WheelR->Phi += WheelR->SpinRate * h;
  WheelL->Phi += WheelL->SpinRate * h;
  Omega = (wR - wL) / Track * r;
  Theta = WrappedOnce(Theta + Omega * h);
}

void TRobotK::Reset() {
  TRobot2::Reset();
  VitY = 0;
  Vit = 0;
  WheelR->SpinRate = 0;
  WheelR->Phi = 0;
  WheelL->SpinRate = 0;
  WheelL->Phi = 0;
}

void TRobotK::AutoPilot(double t) {
  const double tau = t - 5 * std::trunc(t / 5);
  WheelR->SpinRate = 10;
  WheelL->SpinRate = tau < 2.5 ? 10 : 4.5;
  // Back away along the arc the programme is driving.
  if (Recoiling) {
    WheelR->SpinRate = -WheelR->SpinRate;
    WheelL->SpinRate = -WheelL->SpinRate;
  }
}

void TRobotK::OnCollision() {
  SavedSpinR = WheelR->SpinRate;
  SavedSpinL = WheelL->SpinRate;
}

void TRobotK::Draw() {
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
  glCallList(3);
  glPopMatrix();

  WheelL->Draw(-Track / 2, 0, 1);
  WheelR->Draw(Track / 2, 0, 1);

  // Only the textured top face; the wheel colour shows through the decal picture.
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, GL_Form ? GL_Form->TexPicture : 0);
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

  DrawIndexLabel(*this, 0.05);
  DrawValueText(*this, "%.3g", Vit, 0.1);
  glPopMatrix();
}

void TRobotK::VisitFields(TFieldVisitor& v) const {
  TRobot2::VisitFields(v);
  v.Field("SpinMax", SpinMax);
  v.Field("SavedSpinR", SavedSpinR);
  v.Field("SavedSpinL", SavedSpinL);
}
