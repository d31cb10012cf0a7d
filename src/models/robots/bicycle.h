// TBicycle: placeholder until its model lands; it keeps its type code so that the
// device set, the selector and the contact pass are complete.
#pragma once

#include "models/robot.h"

class TBicycle : public TRobot {
public:
  TBicycle(double x0, double y0, int index) : TRobot(x0, y0, index) { TypeCode = 5; }
  const char* ClassName() const override { return "TBicycle"; }
};
