// TBalancingRobot: what the monocycle and the bicycle share. A rod of length L
// stands on a wheel axle; its tilt is held at the set point Av by the balance
// controller, or the wheel torque is set by hand. Each device integrates its own
// state vector (tilt and tilt rate first) with RK4 through Derivatives.
#pragma once

#include "models/balance_controller.h"
#include "models/robot.h"

class TBalancingRobot : public TRobot, public TBalanceController {
public:
  using TRobot::TRobot;

  // out = d(in)/dt for the device's state vector.
  virtual void Derivatives(double* out, const double* in) = 0;

  double M = 0;
  double L = 0;
  double RodRadius = 0;
  double PendulumMass = 0;
  double PendulumInertia = 0;
  double WheelMass = 0;
  double WheelInertia = 0;
  double WheelEqMass = 0;
  double TiltFriction = 0;
  double RollFriction = 0;
  double Av = 0;
  double AvMax = 0;

protected:
  // The rolling wheel's angle after `travel` along the ground, less whole turns.
  static double WheelAngleAt(double travel, double r);
};
