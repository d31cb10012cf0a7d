// TRobotK: placeholder until its model lands; it keeps its type code so that the
// device set, the selector and the contact pass are complete.
#pragma once

#include "models/robots/robot2.h"

class TRobotK : public TRobot2 {
public:
  TRobotK(double x0, double y0, int index) : TRobot2(x0, y0, index) { TypeCode = 1; }
  const char* ClassName() const override { return "TRobotK"; }
};
