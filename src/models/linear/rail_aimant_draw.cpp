// Drawing of the magnet rail: one module (base plate and two magnets of
// opposite polarity) per magnet pitch, the module under the carriage lit.
#include <GL/gl.h>

#include "models/constants.h"
#include "models/linear/rail_aimant.h"
#include "render/draw_helpers.h"

namespace {

TRgb Grey(double g) {
  return {static_cast<float>(g), static_cast<float>(g), static_cast<float>(g)};
}

} // namespace

void TRailAimant::DrawMagnet(double r, double g, double b, double x, double z) const {
  const double w = UnitWidth;
  glPushMatrix();
  glTranslated(x, 0, z);
  ShadedBox(
      0, 0, 0, 4 * w, RailWidth, MagnetThickness / 2,
      ThreeShades({static_cast<float>(r), static_cast<float>(g), static_cast<float>(b)}, false));
  glPopMatrix();
}

void TRailAimant::Draw(const TDrawContext& /*dc*/) const {
  const double w = UnitWidth;
  const double h = RailWidth;
  const double p = MagnetPitch;
  const double t = MagnetThickness;
  if (InContact && RailType == kRailLoop) {
    glColor3d(0, 1, 0);
    for (double dx : kLoopCheckX) {
      glPushMatrix();
      glTranslated(PosX + dx, PosY - CurveRadius, 0);
      FlatRing(Radius - 0.02, Radius);
      glPopMatrix();
    }
  }

  const double last = Length() / p;
  for (int i = 0; i <= last; ++i) {
    double x, y, theta;
    PointAt(i * p, x, y, theta);
    glPushMatrix();
    glTranslated(x, y, 0);
    glTranslated(-w / 2, -h / 2, 0);
    glRotated(theta * kDeg, 0, 0, 1);
    const double k = i == MagnetIndex ? 1.33 : 1.0;
    const TBoxFaces plate{Grey(0.55 * k), Grey(0.55 * k), Grey(0.45),
                          Grey(0.4 * k),  Grey(0.45 * k), Grey(0.45 * k)};
    ShadedBox(0, 0, 0, p, h, 0.01, plate);
    DrawMagnet(0, 0, 1, w, 2.5 * t);
    DrawMagnet(1, 0, 0, w, 2 * t);
    DrawMagnet(1, 0, 0, 7 * w, 2.5 * t);
    DrawMagnet(0, 0, 1, 7 * w, 2 * t);
    glPopMatrix();
  }
}
