// Drawing pieces of the two motor carriages: the textured body slab, the force
// arrows, the hanging boxes of poles and coils, and their value lines.
#include "models/linear/carriage_draw.h"

#include <GL/gl.h>

#include <cmath>

#include "models/constants.h"
#include "models/robot.h"
#include "render/text.h"

TRgb Scaled(TRgb c, float k) {
  return {c.r * k, c.g * k, c.b * k};
}

void HangingBox(double x0, double x1, double width, double depth, TRgb mask) {
  TBoxFaces f{Scaled(mask, 0.65f), Scaled(mask, 0.65f), Scaled(mask, 0.5f),
              Scaled(mask, 0.5f),  Scaled(mask, 0.6f),  Scaled(mask, 0.6f)};
  f.draw_top = false;
  ShadedBox(x0, 0, -depth, x1, width, 0, f);
}

void PrintAt(const TDrawContext& dc, double x, double z, const char* text) {
  glRasterPos3d(x, 0, z);
  PrintText(dc.FontBase, text);
}

void DrawCarriageBody(const TDrawContext& dc, double x0, double x1, double width,
                      double thickness) {
  const unsigned tex_green = dc.TexGreen;
  const unsigned tex_ripple = dc.TexRipple;
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, tex_green);
  glBegin(GL_QUADS);
  glNormal3d(0, 0, 1);
  glTexCoord2d(0, 1);
  glVertex3d(x0, 0, thickness);
  glTexCoord2d(0, 0);
  glVertex3d(x0, width, thickness);
  glTexCoord2d(1, 0);
  glVertex3d(x1, width, thickness);
  glTexCoord2d(1, 1);
  glVertex3d(x1, 0, thickness);
  glEnd();
  glBindTexture(GL_TEXTURE_2D, tex_ripple);
  glBegin(GL_QUADS);
  glNormal3d(1, 0, 0);
  glTexCoord2d(0, 1);
  glVertex3d(x1, 0, thickness);
  glTexCoord2d(0, 0);
  glVertex3d(x1, width, thickness);
  glTexCoord2d(1, 0);
  glVertex3d(x1, width, 0);
  glTexCoord2d(1, 1);
  glVertex3d(x1, 0, 0);
  glEnd();
  glDisable(GL_TEXTURE_2D);

  glBegin(GL_QUADS);
  glColor3d(0.5, 0.5, 0.5);
  glNormal3d(-1, 0, 0);
  glVertex3d(x0, 0, 0);
  glVertex3d(x0, 0, thickness);
  glVertex3d(x0, width, thickness);
  glVertex3d(x0, width, 0);
  glColor3d(0.6, 0.6, 0.6);
  glNormal3d(0, -1, 0);
  glVertex3d(x0, 0, 0);
  glVertex3d(x1, 0, 0);
  glVertex3d(x1, 0, thickness);
  glVertex3d(x0, 0, thickness);
  glNormal3d(0, 1, 0);
  glVertex3d(x0, width, 0);
  glVertex3d(x0, width, thickness);
  glVertex3d(x1, width, thickness);
  glVertex3d(x1, width, 0);
  glColor3d(0.4, 0.4, 0.4);
  glNormal3d(0, 0, -1);
  glVertex3d(x0, 0, 0);
  glVertex3d(x0, width, 0);
  glVertex3d(x1, width, 0);
  glVertex3d(x1, 0, 0);
  glEnd();
}

void DrawForceArrows(double fx, double fz, double scale) {
  glPushMatrix();
  glColor3d(1, 0, 0);
  glRotated(fx >= 0 ? 90 : -90, 0, 1, 0);
  GluArrow(std::fabs(fx) * scale);
  glPopMatrix();
  glPushMatrix();
  glColor3d(0, 0, 1);
  glRotated(180, 0, 1, 0);
  GluArrow(std::fabs(fz) * scale);
  glPopMatrix();
  glPushMatrix();
  glColor3d(1, 0, 1);
  glRotated(SafeAtan2(fx, fz) * kDeg, 0, 1, 0);
  GluArrow(std::sqrt(fx * fx + fz * fz) * scale);
  glPopMatrix();
}
