// TRail: placeholder until its model lands; it keeps its type code so that the
// device set, the selector and the contact pass are complete.
#pragma once

#include "models/robot.h"

class TRail : public TRobot {
public:
  TRail(double x0, double y0, int index) : TRobot(x0, y0, index) { TypeCode = 7; }
  const char* ClassName() const override { return "TRail"; }
  // Contact test of another device against points along the rail.
  virtual void CollideWith(TRobot* /*other*/) {}
};
