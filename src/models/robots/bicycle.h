// TBicycle: a rod balanced on an axle between two side-by-side wheels, driven by
// two torques: their sum balances the rod, their difference turns the robot. The
// monocycle's model with a heading, yaw dynamics and plane motion added; the
// state is (tilt, tilt rate, heading, heading rate, x, x rate, y, y rate).
#pragma once

#include <cstddef>
#include <memory>

#include "models/robots/balancing_robot.h"
#include "models/robots/memo.h"
#include "models/robots/step_memo.h"
#include "models/roue.h"

class TBicycle : public TBalancingRobot {
public:
  TBicycle(double x0, double y0, int index, const TDeviceContext* context = nullptr);

  void Draw(const TDrawContext& dc) const override;
  void Step(double h) final;
  void Reset() override;
  // Also leaves YawInertia and Vit of the state it was given.
  void Derivatives(double* out, const double* in) override;

  const char* ClassName() const override { return "TBicycle"; }
  void VisitFields(TFieldVisitor& v) const override;
  // What the class says about itself (its registry entry reads it too).
  static const TDeviceDescription& Describe();
  const TDeviceDescription& Description() const override { return Describe(); }
  bool KeyDown(std::uint16_t key, bool ctrl, TDeviceKeyHost& host) override;
  void DeriveConstants() override;

  std::unique_ptr<TRoue> WheelR;
  std::unique_ptr<TRoue> WheelL;
  double Track = 0;
  double AxleMass = 0;
  double YawInertia = 0;
  double YawFriction = 0;
  double Torque1 = 0;
  double Torque2 = 0;
  double TorqueMax = 0;
  double State[8] = {};
  double Stage[8] = {};
  double K1[8] = {}, K2[8] = {}, K3[8] = {}, K4[8] = {};

private:
  void Advance(double h);
  // Everything Advance reads or writes.
  template <class F> void StepFields(F&& f);
  // A slot per controller countdown: at rest the state cycles with it.
  TStepMemo<82, 4, 8> step_memo_;
  // One slot per RK4 stage.
  TMemo<16, 5, 4> tilt_memo_;
  std::size_t derivative_calls_ = 0;
  TMemo<1, 1, 1> cos_memo_;
};
