// The six shared display lists, under the names every drawing calls them by.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "models/constants.h"
#include "render/draw_context.h"
#include "view/ref_geometry.h"
#include "view/scene_view.h"

namespace {

void CompileAxes() {
  glNewList(kListAxes, GL_COMPILE);
  glLineWidth(2);
  glBegin(GL_LINES);
  glColor3f(1, 0, 0);
  glVertex3d(0, 0, 0);
  glVertex3d(0.1, 0, 0);
  glColor3f(0, 1, 0);
  glVertex3d(0, 0, 0);
  glVertex3d(0, 0.2, 0);
  glColor3f(0, 0, 1);
  glVertex3d(0, 0, 0);
  glVertex3d(0, 0, 0.3);
  glEnd();
  glLineWidth(1);
  glEndList();
}

// Two triangles per cell; the edge flags leave the shared diagonal out of the
// line-mode drawing unless diagonals are asked for.
void CompileGrid(bool show_diagonals) {
  if (glIsList(kListGrid)) glDeleteLists(kListGrid, 1);
  glNewList(kListGrid, GL_COMPILE);
  glPushMatrix();
  glRotated(-90, 1, 0, 0);
  glColor3f(0.6f, 0.6f, 0.6f);
  glLineWidth(1);
  const double half = 10, cell = 0.5;
  const int cells = 40;
  const GLboolean diagonal = show_diagonals ? GL_TRUE : GL_FALSE;
  for (int i = 0; i < cells; ++i) {
    for (int j = 0; j < cells; ++j) {
      const double x0 = -half + cell * i, x1 = -half + cell * (i + 1);
      const double y0 = -half + cell * j, y1 = -half + cell * (j + 1);
      glBegin(GL_TRIANGLES);
      glEdgeFlag(GL_TRUE);
      glVertex3d(x0, y0, 0);
      glVertex3d(x1, y0, 0);
      glEdgeFlag(diagonal);
      glVertex3d(x1, y1, 0);
      glVertex3d(x0, y0, 0);
      glEdgeFlag(GL_TRUE);
      glVertex3d(x1, y1, 0);
      glVertex3d(x0, y1, 0);
      glEnd();
    }
  }
  glEdgeFlag(GL_TRUE);
  glPopMatrix();
  glEndList();
}

void CompileTyre(double R, double tube) {
  glNewList(kListTyre, GL_COMPILE);
  glPushMatrix();
  glRotated(90, 0, 1, 0);
  const float step = static_cast<float>(kPi / 12);
  const double full = 2 * kPi;
  glBegin(GL_LINE_STRIP);
  for (float u = 0; u <= full; u += step) {
    for (float v = 0; v <= full; v += step) {
      const double du = u, dv = v;
      const double ring = R - tube + tube * std::cos(du);
      glVertex3d(std::cos(dv) * ring, std::sin(dv) * ring, tube * std::sin(du));
    }
  }
  glEnd();
  glPopMatrix();
  glEndList();
}

// The quadrics' geometry is copied into the list, so they go right after.
void CompileDisk(double R, double tube) {
  GLUquadric* q = gluNewQuadric();
  gluQuadricDrawStyle(q, GLU_LINE);
  gluQuadricNormals(q, GLU_SMOOTH);
  glNewList(kListWheelDisk, GL_COMPILE);
  glPushMatrix();
  glRotated(90, 0, 1, 0);
  gluDisk(q, R - 2 * tube, R, 16, 4);
  glPopMatrix();
  glEndList();
  gluDeleteQuadric(q);
}

void CompileAxle(double radius, double track) {
  GLUquadric* q = gluNewQuadric();
  gluQuadricDrawStyle(q, GLU_LINE);
  gluQuadricNormals(q, GLU_SMOOTH);
  glNewList(kListAxle, GL_COMPILE);
  glPushMatrix();
  glRotated(90, 0, 1, 0);
  gluCylinder(q, radius, radius, track, 8, 16);
  glPopMatrix();
  glEndList();
  gluDeleteQuadric(q);
}

struct TCorner {
  double x, y, z;
};

void Face(double nx, double ny, double nz, const TCorner (&c)[4]) {
  static const double st[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  glBegin(GL_POLYGON);
  glNormal3d(nx, ny, nz);
  for (int k = 0; k < 4; ++k) {
    glTexCoord2d(st[k][0], st[k][1]);
    glVertex3d(c[k].x, c[k].y, c[k].z);
  }
  glEnd();
}

void CompileBody(const TRefGeometry& g, GLuint picture, GLuint ripple) {
  const double a = g.BodyWidth / 2, b = g.BodyLength / 2, c = g.BodyHeight / 2;
  glNewList(kListBody, GL_COMPILE);
  glBindTexture(GL_TEXTURE_2D, picture);
  Face(0, 0, 1, {{-a, -b, c}, {-a, b, c}, {a, b, c}, {a, -b, c}});
  glBindTexture(GL_TEXTURE_2D, ripple);
  Face(1, 0, 0, {{a, -b, -c}, {a, b, -c}, {a, b, c}, {a, -b, c}});
  Face(0, 0, -1, {{-a, -b, -c}, {a, -b, -c}, {a, b, -c}, {-a, b, -c}});
  Face(-1, 0, 0, {{-a, -b, -c}, {-a, -b, c}, {-a, b, c}, {-a, b, -c}});
  Face(0, 1, 0, {{-a, b, -c}, {a, b, -c}, {a, b, c}, {-a, b, c}});
  Face(0, -1, 0, {{-a, -b, -c}, {-a, -b, c}, {a, -b, c}, {a, -b, -c}});
  glEndList();
}

} // namespace

void TSceneView::BuildDisplayLists(const TRefGeometry& g, bool diagonals) {
  CompileAxes();
  CompileGrid(diagonals);
  CompileTyre(g.WheelR, g.WheelTube);
  CompileDisk(g.WheelR, g.WheelTube);
  CompileAxle(g.AxleRadius, g.Track);
  CompileBody(g, dc_.TexPicture, dc_.TexRipple);
}

void TSceneView::RebuildGrid(bool diagonals) {
  if (ready_) CompileGrid(diagonals);
}
