// Drawing of the toothed rail: contact rings on the loop, then one module
// (base plate and tooth) per tooth along the rail.
#include <GL/gl.h>

#include "models/constants.h"
#include "models/linear/rail.h"
#include "render/draw_helpers.h"

namespace {

TRgb Grey(float g) {
  return {g, g, g};
}

} // namespace

void TRail::Draw(const TDrawContext& /*dc*/) const {
  const double w = ToothWidth;
  const double h = RailWidth;
  if (InContact && RailType == kRailLoop) {
    glColor3d(1, 0, 0);
    for (double dx : kLoopCheckX) {
      glPushMatrix();
      glTranslated(PosX + dx, PosY - CurveRadius, 0);
      FlatRing(Radius - 0.02, Radius);
      glPopMatrix();
    }
  }

  TBoxFaces plate{Grey(0.55f), Grey(0.55f), Grey(0.45f), Grey(0.4f), Grey(0.45f), Grey(0.45f)};
  const TBoxFaces tooth = ThreeShades(Grey(1.0f), false);
  const double length = Length();
  for (double s = 0; s <= length; s += ToothPitch) {
    double x, y, theta;
    PointAt(s, x, y, theta);
    glPushMatrix();
    glTranslated(x, y, 0);
    glTranslated(-w / 2, -h / 2, 0);
    glRotated(theta * kDeg, 0, 0, 1);
    ShadedBox(0, 0, 0, 3 * w, h, 0.01, plate);
    ShadedBox(0, 0, 0, w, h, 0.015, tooth);
    glPopMatrix();
  }
}
