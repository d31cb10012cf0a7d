// TMonocycle: a rod balanced on the axle of a single wheel rolling along world y.
// The state is integrated with RK4; a PI(D) controller with anti-windup sets the
// wheel torque every CtrlPeriod steps, or the torque is set by hand.
#pragma once

#include <cstdint>

#include "models/robot.h"
#include "models/roue.h"

class TMonocycle : public TRobot {
public:
  TMonocycle(double x0, double y0, int index);
  ~TMonocycle() override;

  void Draw() override;
  void Step(double h) override;
  void Reset() override;
  // out = d(in)/dt for the state (theta, theta rate, travel, travel rate).
  virtual void Derivatives(double* out, const double* in);

  const char* ClassName() const override { return "TMonocycle"; }
  void VisitFields(TFieldVisitor& v) const override;

  TRoue* Wheel = nullptr;
  double M = 0.3;
  double L = 0.15;
  double RodRadius = 0.01;
  double PendulumMass = 0.2;
  double PendulumInertia = 0.0015;
  double WheelMass = 0.1;
  double WheelInertia = 1.25e-4;
  double WheelEqMass = 0.05;
  double TiltFriction = 0.8;
  double RollFriction = 10;
  double Ce = 0;
  double CeMax = 3.0;
  double Kp = 5.0;
  double Ki = 0.3;
  double Kd = 0;
  double ErrIntegral = 0;
  double ErrPrev = 0;
  double Av = 0;
  double AvMax = 1.0471975511965976;
  double State[4] = {};
  double Stage[4] = {};
  double K1[4] = {}, K2[4] = {}, K3[4] = {}, K4[4] = {};
  bool ControllerOn = true;
  std::int32_t CtrlCountdown = 3;
  std::int32_t CtrlPeriod = 3;

private:
  void RunController();
  void WheelAngleFromTravel();
};
