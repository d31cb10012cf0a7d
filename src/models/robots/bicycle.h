// TBicycle: a rod balanced on an axle between two side-by-side wheels, driven by
// two torques: their sum balances the rod, their difference turns the robot. The
// monocycle's model with a heading, yaw dynamics and plane motion added.
#pragma once

#include <cstdint>

#include "models/robot.h"
#include "models/roue.h"

class TBicycle : public TRobot {
public:
  TBicycle(double x0, double y0, int index);
  ~TBicycle() override;

  void Draw() override;
  void Step(double h) override;
  void Reset() override;
  // out = d(in)/dt for (theta, theta rate, psi, psi rate, x, x rate, y, y rate);
  // also leaves YawInertia and Vit of the state it was given.
  virtual void Derivatives(double* out, const double* in);

  const char* ClassName() const override { return "TBicycle"; }
  void VisitFields(TFieldVisitor& v) const override;

  TRoue* WheelR = nullptr;
  TRoue* WheelL = nullptr;
  double M = 0.7;
  double L = 0.25;
  double Track = 0.18;
  double RodRadius = 0.01;
  double PendulumMass = 0.2;
  double AxleMass = 0.2;
  double PendulumInertia = 0;
  double YawInertia = 0;
  double WheelMass = 0.1;
  double WheelInertia = 0;
  double WheelEqMass = 0.05;
  double TiltFriction = 0.8;
  double RollFriction = 1.0;
  double YawFriction = 10;
  double Torque1 = 0;
  double Torque2 = 0;
  double TorqueMax = 3.0;
  double Kp = 5.0;
  double Ki = 0.3;
  double Kd = 0;
  double ErrIntegral = 0;
  double ErrPrev = 0;
  double Av = 0;
  double AvMax = 1.0471975511965976;
  double State[8] = {};
  double Stage[8] = {};
  double K1[8] = {}, K2[8] = {}, K3[8] = {}, K4[8] = {};
  bool ControllerOn = true;
  std::int32_t CtrlCountdown = 3;
  std::int32_t CtrlPeriod = 3;

private:
  void RunController();
};
