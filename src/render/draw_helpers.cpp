#include "render/draw_helpers.h"

#include <GL/gl.h>
#include <GL/glu.h>

TRgb LabelColour(bool selected) {
  return selected ? TRgb{0.95f, 0.5f, 0.1f} : TRgb{0.0f, 0.0f, 0.8f};
}

void SetLabelColour(bool selected) {
  const TRgb c = LabelColour(selected);
  glColor3f(c.r, c.g, c.b);
}

void FlatRing(double inner_radius, double outer_radius) {
  GLUquadric* q = gluNewQuadric();
  if (!q) return;
  gluQuadricDrawStyle(q, GLU_FILL);
  gluQuadricNormals(q, GLU_SMOOTH);
  gluCylinder(q, inner_radius, outer_radius, 0.0, 20, 1);
  gluDeleteQuadric(q);
}

void GroundMarks(double radius, bool in_contact, bool recoiling) {
  glColor3f(1, 1, 0);
  FlatRing(radius, radius + 0.005);
  if (in_contact) {
    glColor3f(1, 0, 0);
    FlatRing(radius - 0.02, radius);
  }
  if (recoiling) {
    glColor3f(0, 1, 0);
    FlatRing(0, radius - 0.02);
  }
}

namespace {
// The arrow outline as (across, along) pairs.
void ArrowOutline(double L, void (*vertex)(double, double)) {
  glBegin(GL_POLYGON);
  vertex(0.01, 0);
  vertex(0.02, L - 0.02);
  vertex(0.04, L - 0.04);
  vertex(0, L);
  vertex(-0.04, L - 0.04);
  vertex(-0.02, L - 0.02);
  vertex(-0.01, 0);
  glEnd();
}
} // namespace

void OutlineArrowXY(double length) {
  ArrowOutline(length, [](double a, double b) { glVertex3d(a, b, 0); });
}

void OutlineArrowXZ(double length) {
  ArrowOutline(length, [](double a, double b) { glVertex3d(a, 0, b); });
}

void GluArrow(double length) {
  GLUquadric* q = gluNewQuadric();
  if (!q) return;
  gluQuadricDrawStyle(q, GLU_FILL);
  gluQuadricNormals(q, GLU_SMOOTH);
  glPushMatrix();
  gluCylinder(q, 0.001, 0.001, 0.8 * length, 8, 16);
  glTranslated(0, 0, 0.8 * length);
  gluCylinder(q, 0.002, 0.0, 0.2 * length, 8, 16);
  glPopMatrix();
  gluDeleteQuadric(q);
}

void ShadedBox(double x0, double y0, double z0, double x1, double y1, double z1,
               const TBoxFaces& f) {
  glBegin(GL_QUADS);
  if (f.draw_top) {
    glColor3f(f.top.r, f.top.g, f.top.b);
    glNormal3d(0, 0, 1);
    glVertex3d(x0, y0, z1);
    glVertex3d(x1, y0, z1);
    glVertex3d(x1, y1, z1);
    glVertex3d(x0, y1, z1);
  }
  if (f.draw_bottom) {
    glColor3f(f.bottom.r, f.bottom.g, f.bottom.b);
    glNormal3d(0, 0, -1);
    glVertex3d(x0, y0, z0);
    glVertex3d(x0, y1, z0);
    glVertex3d(x1, y1, z0);
    glVertex3d(x1, y0, z0);
  }
  glColor3f(f.xmin.r, f.xmin.g, f.xmin.b);
  glNormal3d(-1, 0, 0);
  glVertex3d(x0, y0, z0);
  glVertex3d(x0, y0, z1);
  glVertex3d(x0, y1, z1);
  glVertex3d(x0, y1, z0);
  glColor3f(f.xmax.r, f.xmax.g, f.xmax.b);
  glNormal3d(1, 0, 0);
  glVertex3d(x1, y0, z0);
  glVertex3d(x1, y1, z0);
  glVertex3d(x1, y1, z1);
  glVertex3d(x1, y0, z1);
  glColor3f(f.ymin.r, f.ymin.g, f.ymin.b);
  glNormal3d(0, -1, 0);
  glVertex3d(x0, y0, z0);
  glVertex3d(x1, y0, z0);
  glVertex3d(x1, y0, z1);
  glVertex3d(x0, y0, z1);
  glColor3f(f.ymax.r, f.ymax.g, f.ymax.b);
  glNormal3d(0, 1, 0);
  glVertex3d(x0, y1, z0);
  glVertex3d(x0, y1, z1);
  glVertex3d(x1, y1, z1);
  glVertex3d(x1, y1, z0);
  glEnd();
}

TBoxFaces ThreeShades(TRgb c, bool with_bottom) {
  auto k = [&](float s) { return TRgb{s * c.r, s * c.g, s * c.b}; };
  TBoxFaces f{k(0.55f), k(0.55f), k(0.4f), k(0.4f), k(0.45f), k(0.45f)};
  f.draw_bottom = with_bottom;
  return f;
}
