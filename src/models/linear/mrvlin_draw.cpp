// Drawing of the switched-reluctance carriage: velocity and force arrows, the
// textured body, the eight poles with the energised pair lit, and its values.
#include <GL/gl.h>

#include <cstdio>

#include "models/constants.h"
#include "models/linear/carriage_draw.h"
#include "models/linear/mrvlin.h"
#include "render/draw_helpers.h"

void TMRVlin::Draw(const TDrawContext& dc) const {
  const double w = ToothWidth;
  const double hr = RailWidth;
  glPushMatrix();
  glTranslated((PosX - w / 2) * Scale, (PosY - hr / 2) * Scale, Scale * Height + 0.01);
  glRotated(Theta * kDeg, 0, 0, 1);

  glPushMatrix();
  glColor3d(0, 1, 0);
  glTranslated(-2 * w, hr / 2, -0.01);
  glRotated(SafeAtan2(VitY, VitX) * kDeg, 0, 0, 1);
  glRotated(90, 0, 1, 0);
  GluArrow(Vit * 1.0);
  glPopMatrix();

  glPushMatrix();
  glTranslated((2 * Phase + 0.5) * w, 0, 0);
  DrawForceArrows(Fx, Fz, 0.0025);
  glPopMatrix();

  DrawCarriageBody(dc, -2 * w, 13 * w, hr, 0.005);

  static const TRgb kPoleColour[8] = {{1, 1, 1}, {1, 0, 0}, {1, 1, 0}, {0, 0, 1},
                                      {1, 0, 0}, {1, 1, 0}, {0, 0, 1}, {1, 1, 1}};
  for (int i = 0; i < 8; ++i) {
    const bool lit = i == Phase + 1 || i == Phase + 4;
    glPushMatrix();
    glTranslated((2 * i - 2) * w, 0, 0);
    HangingBox(0, w, hr, 0.01, lit ? Scaled(kPoleColour[i], 1.53f) : kPoleColour[i]);
    glPopMatrix();
  }

  SetLabelColour(Selected);
  char text[64];
  // The device number sits one line below the values, clear of "dxregard".
  std::snprintf(text, sizeof text, "%d", Index);
  PrintAt(dc, 0, 0.0, text);
  std::snprintf(text, sizeof text, "dxregard=%g", OverlapX);
  PrintAt(dc, 0, 0.01, text);
  std::snprintf(text, sizeof text, "Vit=%g", Vit);
  PrintAt(dc, 0, 0.02, text);
  std::snprintf(text, sizeof text, "dx=%g", Dx);
  PrintAt(dc, 0, 0.03, text);
  std::snprintf(text, sizeof text, "Fx=%g", Fx);
  PrintAt(dc, 0, 0.04, text);
  std::snprintf(text, sizeof text, "Fz=%g", Fz);
  PrintAt(dc, 0, 0.05, text);
  std::snprintf(text, sizeof text, "Fy=%g", Fy);
  PrintAt(dc, 0, 0.06, text);
  std::snprintf(text, sizeof text, "xplot=%g", PoleX);
  PrintAt(dc, 0, 0.07, text);
  std::snprintf(text, sizeof text, "xrail=%g", ToothX);
  PrintAt(dc, 0, 0.08, text);
  std::snprintf(text, sizeof text, "dmax=%g", ToothDist);
  PrintAt(dc, 0, 0.09, text);

  glPopMatrix();
}
