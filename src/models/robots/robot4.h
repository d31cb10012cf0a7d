// TRobot4: a car-like robot with two steered front wheels. A point mass under a
// traction force along the front wheels and a friction opposed to its velocity;
// the heading turns like front-wheel steering. Backs off after a collision.
#pragma once

#include "models/robots/robot2.h"
#include "models/robots/step_memo.h"

class TRobot4 : public TRobot2 {
public:
  TRobot4(double x0, double y0, int index, const TDeviceContext* context = nullptr);

  void Draw(const TDrawContext& dc) const override;
  void Step(double h) final;
  void AutoPilot(double t) override;
  void OnCollision() override;
  void Reset() override;
  // The front wheels take the steering command. The render pass calls it for
  // every frame, drawn or not, so that the state never depends on what was drawn.
  void ShowSteering();

  const char* ClassName() const override { return "TRobot4"; }
  void VisitFields(TFieldVisitor& v) const override;
  // What the class says about itself (its registry entry reads it too).
  static const TDeviceDescription& Describe();
  const TDeviceDescription& Description() const override { return Describe(); }
  bool KeyDown(std::uint16_t key, bool ctrl, TDeviceKeyHost& host) override;
  void StatusPart(const TStatusContext& context, TStatusPart& part) const override;

  double ForceX = 0, ForceY = 0;
  double Force = 0;
  double Traction = 0;
  double TractionMax = 1.0;
  double Friction = 0;
  double FrictionX = 0, FrictionY = 0;
  double FrictionStatic = 0.2;
  double FrictionViscous = 1.0;
  double Steer = 0;
  double SteerMax = 0.5;
  double SavedTraction = 0;
  double SavedSteer = 0;

private:
  void Advance(double h);
  // Everything Advance reads or writes.
  template <class F> void StepFields(F&& f);
  TStepMemo<31, 1, 5> step_memo_;
};
