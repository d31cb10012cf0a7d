// TRobotK: a differential-drive robot driven by its two wheel speeds. Purely
// kinematic: the mean wheel speed moves it along its heading, the difference
// turns it. Backs off after a collision.
#pragma once

#include "models/robots/robot2.h"

class TRobotK : public TRobot2 {
public:
  TRobotK(double x0, double y0, int index);

  void Draw() override;
  void Step(double h) override;
  void AutoPilot(double t) override;
  void OnCollision() override;
  void Reset() override;

  const char* ClassName() const override { return "TRobotK"; }
  void VisitFields(TFieldVisitor& v) const override;

  double SpinMax = 10.0;
  double SavedSpinR = 0;
  double SavedSpinL = 0;
};
