// TRobotK: a differential-drive robot driven by its two wheel speeds. Purely
// kinematic: the mean wheel speed moves it along its heading, the difference
// turns it. Backs off after a collision.
#pragma once

#include "models/robots/robot2.h"
#include "models/robots/step_memo.h"

class TRobotK : public TRobot2 {
public:
  TRobotK(double x0, double y0, int index, const TDeviceContext* context = nullptr);

  void Draw(const TDrawContext& dc) const override;
  void Step(double h) final;
  void AutoPilot(double t) override;
  void OnCollision() override;
  void Reset() override;

  const char* ClassName() const override { return "TRobotK"; }
  void VisitFields(TFieldVisitor& v) const override;
  // What the class says about itself (its registry entry reads it too).
  static const TDeviceDescription& Describe();
  const TDeviceDescription& Description() const override { return Describe(); }
  bool KeyDown(std::uint16_t key, bool ctrl, TDeviceKeyHost& host) override;
  void StatusPart(const TStatusContext& context, TStatusPart& part) const override;

  double SpinMax = 10.0;
  double SavedSpinR = 0;
  double SavedSpinL = 0;

private:
  void Advance(double h);
  // Everything Advance reads or writes.
  template <class F> void StepFields(F&& f);
  TStepMemo<18, 1, 5> step_memo_;
};
