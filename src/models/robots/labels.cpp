#include "models/robots/labels.h"

#include <GL/gl.h>

#include <cstdio>

#include "models/robot.h"
#include "render/draw_context.h"
#include "render/draw_helpers.h"
#include "render/text.h"

void DrawIndexLabel(const TDrawContext& dc, const TRobot& robot, double z) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(robot.Index));
  SetLabelColour(robot.Selected);
  glRasterPos3d(0, 0, z);
  PrintText(dc.FontBase, text);
}

void DrawValueText(const TDrawContext& dc, const TRobot& robot, const char* format, double value,
                   double z) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  SetLabelColour(robot.Selected);
  glRasterPos3d(0, 0, z);
  PrintText(dc.FontBase, text);
}
