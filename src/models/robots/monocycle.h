// TMonocycle: a rod balanced on the axle of a single wheel rolling along world y.
// The state is (tilt, tilt rate, travel, travel rate); the controller or the hand
// sets the wheel torque Ce.
#pragma once

#include <cstddef>
#include <memory>

#include "models/robots/balancing_robot.h"
#include "models/robots/memo.h"
#include "models/roue.h"

class TMonocycle : public TBalancingRobot {
public:
  TMonocycle(double x0, double y0, int index, const TDeviceContext* context = nullptr);

  void Draw(const TDrawContext& dc) const override;
  void Step(double h) override;
  void Reset() override;
  void Derivatives(double* out, const double* in) override;

  const char* ClassName() const override { return "TMonocycle"; }
  void VisitFields(TFieldVisitor& v) const override;
  // What the class says about itself (its registry entry reads it too).
  static const TDeviceDescription& Describe();
  const TDeviceDescription& Description() const override { return Describe(); }
  bool KeyDown(std::uint16_t key, bool ctrl, TDeviceKeyHost& host) override;
  void DeriveConstants() override;

  std::unique_ptr<TRoue> Wheel;
  double Ce = 0;
  double CeMax = 0;
  double State[4] = {};
  double Stage[4] = {};
  double K1[4] = {}, K2[4] = {}, K3[4] = {}, K4[4] = {};

private:
  void WheelAngleFromTravel();
  // The rod's rates at (theta, omega): upright (1 or 0), d omega, and the
  // rod's push on the wheel.
  void RodRates(double theta, double omega, double (&rod)[3]) const;
  // d(travel rate)/dt from the rod's rates and the travel rate v.
  double TravelRate(bool upright, double push, double v) const;
  void SplitRk4Step(double h);
  // K1..K4 and the last stage of the tilt and tilt rate, their new values, and
  // the rod's upright flag and push at each stage.
  static constexpr std::size_t kRodStepSize = 20;
  void RodHalfStep(double h, double (&out)[kRodStepSize]) const;

  // A slot per controller countdown.
  TMemo<10, kRodStepSize, 4> rod_step_memo_;
};
