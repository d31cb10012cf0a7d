// Drawing of the synchronous carriage: arrows, textured body, iron teeth, coils
// lit by their switches, Hall sensors lit by their readings, the pendulum while
// the controller runs, and its values.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>

#include "models/constants.h"
#include "models/linear/carriage_draw.h"
#include "models/linear/mslin.h"
#include "models/linear/rail_aimant.h"
#include "render/draw_helpers.h"

namespace {

void Colour(TRgb c) {
  glColor3f(c.r, c.g, c.b);
}

// A sensor bar: only its lower face and the two faces normal to y are seen.
void SensorBar(double width, TRgb mask) {
  const double x0 = -0.002, x1 = 0.002, y0 = -0.001, y1 = width + 0.001, z1 = 0.002;
  glBegin(GL_QUADS);
  Colour(Scaled(mask, 0.65f));
  glNormal3d(0, 0, -1);
  glVertex3d(x0, y0, 0);
  glVertex3d(x0, y1, 0);
  glVertex3d(x1, y1, 0);
  glVertex3d(x1, y0, 0);
  Colour(Scaled(mask, 0.6f));
  glNormal3d(0, -1, 0);
  glVertex3d(x0, y0, 0);
  glVertex3d(x1, y0, 0);
  glVertex3d(x1, y0, z1);
  glVertex3d(x0, y0, z1);
  glNormal3d(0, 1, 0);
  glVertex3d(x0, y1, 0);
  glVertex3d(x0, y1, z1);
  glVertex3d(x1, y1, z1);
  glVertex3d(x1, y1, 0);
  glEnd();
}

// A triangular frame of the pendulum support, from y0 to y1 along the axle.
void SupportFrame(double y0, double y1) {
  const double a = 0.0086, top = 0.015;
  glBegin(GL_QUADS);
  glColor3d(0.52, 0.52, 0.52);
  glNormal3d(-top, 0, a);
  glVertex3d(-a, y0, 0);
  glVertex3d(-a, y1, 0);
  glVertex3d(0, y1, top);
  glVertex3d(0, y0, top);
  glNormal3d(top, 0, a);
  glVertex3d(a, y0, 0);
  glVertex3d(0, y0, top);
  glVertex3d(0, y1, top);
  glVertex3d(a, y1, 0);
  glEnd();
  glBegin(GL_TRIANGLES);
  glColor3d(0.58, 0.58, 0.58);
  glNormal3d(0, -1, 0);
  glVertex3d(-a, y0, 0);
  glVertex3d(0, y0, top);
  glVertex3d(a, y0, 0);
  glNormal3d(0, 1, 0);
  glVertex3d(-a, y1, 0);
  glVertex3d(a, y1, 0);
  glVertex3d(0, y1, top);
  glEnd();
}

void Cylinder(double radius, double length) {
  GLUquadric* q = gluNewQuadric();
  if (!q) return;
  gluQuadricDrawStyle(q, GLU_FILL);
  gluQuadricNormals(q, GLU_SMOOTH);
  gluCylinder(q, radius, radius, length, 12, 1);
  gluDeleteQuadric(q);
}

} // namespace

void TMSlin::Draw(const TDrawContext& dc) const {
  const double w = ToothWidth;
  const double h = RailWidth;
  const double bt = BodyThickness;
  glPushMatrix();
  glTranslated((PosX - w / 2) * Scale, (PosY - h / 2) * Scale, Scale * Height + 0.01);
  glRotated(Theta * kDeg, 0, 0, 1);

  glPushMatrix();
  glColor3d(0, 1, 0);
  glTranslated(-2 * w, h / 2, -2 * bt);
  glRotated(SafeAtan2(VitY, VitX) * kDeg, 0, 0, 1);
  glRotated(90, 0, 1, 0);
  GluArrow(Vit * 0.5);
  glPopMatrix();

  DrawForceArrows(Fx, Fz, 0.01);
  DrawCarriageBody(dc, -2 * w, 11 * w, h, bt);

  for (int i = 0; i <= 6; ++i)
    HangingBox((2 * i - 2) * w, (2 * i - 1) * w, h, 0.01, {1, 1, 1});

  static const TRgb kCoilColour[6] = {{1, 0, 0}, {0, 0, 1}, {1, 1, 0},
                                      {1, 0, 0}, {0, 0, 1}, {1, 1, 0}};
  for (int i = 0; i < 6; ++i) {
    const TRgb mask = Switch[i] != 0 ? Scaled(kCoilColour[i], 1.53f) : kCoilColour[i];
    HangingBox((2 * i - 1) * w + 0.001, 2 * i * w - 0.001, h, 0.008, mask);
  }

  static const TRgb kSensorColour[3] = {{1, 0, 0}, {1, 1, 0}, {0, 0, 1}};
  const bool reading[3] = {HallA, HallB, HallC};
  for (int i = 0; i < 3; ++i) {
    glPushMatrix();
    glTranslated((4 * i + 0.5) * w, 0, -2 * bt - 0.0001);
    SensorBar(h, reading[i] ? Scaled(kSensorColour[i], 1.53f) : kSensorColour[i]);
    glPopMatrix();
  }

  if (ControllerOn || ExternalCommand) {
    glPushMatrix();
    glTranslated(4.5 * w, 0, bt);
    SupportFrame(0, h / 6);
    SupportFrame(5 * h / 6, h);
    glPushMatrix();
    glColor3d(0.52, 0.52, 0.52);
    glTranslated(0, h / 6, 2 * bt);
    glRotated(-90, 1, 0, 0); // the quadric's axis, z, onto y
    Cylinder(bt / 2, 4 * h / 6);
    glPopMatrix();
    glTranslated(0, h / 2, 2 * bt);
    glRotated(PendTheta * kDeg, 0, 1, 0);
    glColor3d(0.61, 0.51, 0.51);
    Cylinder(bt / 2, PendLength);
    glPopMatrix();
  }

  glPushMatrix();
  glTranslated(4.5 * w, 0, 0);
  SetLabelColour(Selected);
  char text[80];
  std::snprintf(text, sizeof text, "%d", Index);
  PrintAt(dc, 0.01, 0.01, text);
  std::snprintf(text, sizeof text, "HallA=%d HallB=%d HallC=%d ", HallA ? 1 : 0, HallB ? 1 : 0,
                HallC ? 1 : 0);
  PrintAt(dc, 0, 0.02, text);
  std::snprintf(text, sizeof text, "Secteur=%d  I=%g", Secteur, CurrentCmd);
  PrintAt(dc, 0, 0.03, text);
  std::snprintf(text, sizeof text, "a%2d cp%2d b%2d ap%2d c%2d bp%2d", Switch[0], Switch[1],
                Switch[2], Switch[3], Switch[4], Switch[5]);
  PrintAt(dc, 0, 0.04, text);
  std::snprintf(text, sizeof text, "Fx=%g", Fx);
  PrintAt(dc, 0, 0.05, text);
  std::snprintf(text, sizeof text, "Fz=%g", Fz);
  PrintAt(dc, 0, 0.06, text);
  std::snprintf(text, sizeof text, "Vit=%g", Vit);
  PrintAt(dc, 0, 0.07, text);
  std::snprintf(text, sizeof text, "xrail=%g", MagnetX);
  PrintAt(dc, 0, 0.08, text);
  const int magnet_index = Context->AimantPtr ? Context->AimantPtr->MagnetIndex : 0;
  std::snprintf(text, sizeof text, "iNear=%d", magnet_index);
  PrintAt(dc, 0, 0.09, text);
  std::snprintf(text, sizeof text, "dx=%g", Dx);
  PrintAt(dc, 0, 0.10, text);
  std::snprintf(text, sizeof text, "th_pendule=%g", PendTheta);
  PrintAt(dc, 0, 0.11, text);
  glPopMatrix();

  glPopMatrix();
}
