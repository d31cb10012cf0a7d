// The magnified pole/tooth inset of the switched-reluctance carriage, drawn in
// the camera frame so that it faces the viewer whatever the elevation.
#include <GL/gl.h>

#include <cmath>

#include "models/constants.h"
#include "models/linear/mrvlin.h"
#include "models/linear/rail.h"
#include "render/draw_helpers.h"
#include "sim/simulation.h"
#include "view/scene_view.h"

namespace {

void Plate(double w, double h) {
  glBegin(GL_QUADS);
  glVertex3d(-w / 2, 0, -h / 2);
  glVertex3d(-w / 2, 0, h / 2);
  glVertex3d(w / 2, 0, h / 2);
  glVertex3d(w / 2, 0, -h / 2);
  glEnd();
}

} // namespace

void TSceneView::DrawToothInset(const TSimulation& sim, const TCameraPose& camera,
                                const TInsetSizes& inset) const {
  const TMRVlin* m = sim.MrvPtr;
  const TRail* r = sim.RailPtr;
  if (!m || !r) return;
  const double w = inset.ToothWidth;
  const double h = inset.RailWidth;
  const double zpos = camera.zpos, xrot = camera.xrot;
  const double lx = std::fabs(m->Fx) * 0.05;
  const double ly = std::fabs(m->Fy) * 0.05;

  glPushMatrix();
  glScaled(3 * zpos, 3 * zpos, 3 * zpos);
  glRotated(90 - xrot, 1, 0, 0);
  glTranslated(0.14, 0, -0.1);

  switch (m->Phase) {
  case 0:
    glColor3d(1, 0, 0);
    break;
  case 1:
    glColor3d(1, 1, 0);
    break;
  default:
    glColor3d(0, 0, 1);
    break;
  }

  glRotated(m->Theta * kDeg, 0, 1, 0);
  Plate(w, h);
  glRotated(-m->Theta * kDeg, 0, 1, 0);

  glPushMatrix();
  glScaled(0.1, 0.1, 0.1);
  glRotated(m->Fx > 0 ? 90 : -90, 0, 1, 0);
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  glLineWidth(2);
  OutlineArrowXZ(lx);
  glPopMatrix();

  glPushMatrix();
  glScaled(0.1, 0.1, 0.1);
  glRotated(m->Fy > 0 ? 0 : 180, 0, 1, 0);
  OutlineArrowXZ(ly);
  glLineWidth(1);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glPopMatrix();

  glTranslated(-m->Dx, -m->Dy, 0);
  glColor3d(0.55, 0.55, 0.55);
  glPushMatrix();
  glRotated(r->Theta * kDeg, 0, 1, 0);
  Plate(w, h);
  glPopMatrix();

  glPopMatrix();
}
