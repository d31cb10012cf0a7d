#include "models/robots/bicycle.h"

#include <cmath>

#include "models/constants.h"
#include "models/field_visitor.h"
#include "models/robots/rk4.h"

TBicycle::TBicycle(double x0, double y0, int index) : TBalancingRobot(x0, y0, index) {
  TypeCode = kTypeBicycle;
  WheelR = std::make_unique<TRoue>();
  WheelL = std::make_unique<TRoue>();
  Track = 0.18;
  L = 0.25;
  RodRadius = 0.01;
  Radius = 0.15;
  WheelMass = 0.1;
  PendulumMass = 0.2;
  AxleMass = 0.2;
  YawInertia = 0;
  TBicycle::DeriveConstants();
  TiltFriction = 0.8;
  RollFriction = 1.0;
  YawFriction = 10;
  TorqueMax = 3;
  AvMax = kPi / 3;
  CtrlPeriod = 3;
  Kp = 5;
  Ki = 0.3;
  Kd = 0;
  TBicycle::Reset();
}

void TBicycle::DeriveConstants() {
  const double r = WheelR->R;
  WheelInertia = 0.5 * WheelMass * (r * r);
  PendulumInertia = PendulumMass * (L * L) / 3;
  WheelR->Mass = WheelMass;
  WheelL->Mass = WheelMass;
  WheelEqMass = WheelInertia / r / r;
  M = 2 * WheelMass + PendulumMass + AxleMass + 2 * WheelEqMass;
}

void TBicycle::Derivatives(double* out, const double* in) {
  const double theta = in[0], omega = in[1], psi = in[2], yaw_rate = in[3];
  const double vx = in[5], vy = in[7];
  const double m = PendulumMass;
  const double r = WheelR->R;
  const double b = Track;
  const double C = Torque1 + Torque2;
  const double ms = WheelMass + WheelEqMass;
  const double sin_theta = std::sin(theta);

  YawInertia =
      (2 * WheelMass + AxleMass / 3) * ((b / 2) * (b / 2)) + m * (L * L) * (sin_theta * sin_theta);
  out[0] = omega;
  // No ground test here: Step clamps a fallen rod.
  out[1] = (m * kGravity * sin_theta - C - TiltFriction * omega) / PendulumInertia;
  out[2] = yaw_rate;
  out[3] = ((Torque1 - Torque2) / r + ms * b * std::sin(psi) * (yaw_rate * yaw_rate) -
            YawFriction * yaw_rate) /
           ((2 / b) * YawInertia);

  Vit = std::sqrt(vx * vx + vy * vy);
  const double F = RollFriction * Vit;
  double Fx = 0, Fy = 0;
  if (Vit != 0) {
    Fx = -F * vx / Vit;
    Fy = -F * vy / Vit;
  }
  const double A = -(m * L / 2) * (-sin_theta * (omega * omega) +
                                   std::cos(theta) * (m * kGravity * sin_theta - C));
  // Only the forward push follows the heading; the ground friction opposes the
  // ground velocity whatever the heading, or a turned robot would feed on it.
  out[4] = vx;
  out[5] = (A * std::sin(psi) + Fx) / M;
  out[6] = vy;
  out[7] = (A * std::cos(psi) + Fy) / M;
}

void TBicycle::Step(double h) {
  Rk4Step(State, Stage, K1, K2, K3, K4, h,
          [this](double* out, const double* in) { Derivatives(out, in); });

  VitX = State[5];
  VitY = State[7];
  Vit = std::sqrt(VitX * VitX + VitY * VitY);
  PosX = State[4];
  PosY = State[6];

  if (ControllerOn && ControllerDue()) {
    // Equal torques: the controller never turns the robot.
    Torque1 = ControllerOutput(Av - State[0], TorqueMax);
    Torque2 = Torque1;
  }

  State[0] = WrappedOnce(State[0]);
  State[2] = WrappedOnce(State[2]);

  const double r = WheelR->R;
  if (std::cos(State[0]) * L - RodRadius <= -r) {
    // The rod's tip touches the ground: it rests at the contact angle on its side.
    State[1] = 0;
    State[0] = std::copysign(std::acos((RodRadius - r) / L), State[0]);
  }

  const double b = Track;
  WheelR->Phi += (Vit + State[3] * b / 2) / WheelR->R * h;
  WheelL->Phi += (Vit - State[3] * b / 2) / WheelL->R * h;
}

void TBicycle::Reset() {
  TRobot::Reset();
  State[4] = PosX0;
  State[5] = 0;
  State[6] = PosY0;
  State[7] = 0;
  State[2] = 0;
  State[3] = 0;
  PosX = State[4];
  PosY = State[6];
  Av = 0;
  WheelR->Phi = WheelAngleAt(State[6], WheelR->R);
  WheelL->Phi = WheelAngleAt(State[6], WheelL->R);
  State[0] = kPi / 6;
  State[1] = 0;
  ResetController(true);
  Torque1 = Torque2 = 0;
}

void TBicycle::VisitFields(TFieldVisitor& v) const {
  TRobot::VisitFields(v);
  VisitWheel(v, "WheelR", WheelR.get());
  VisitWheel(v, "WheelL", WheelL.get());
  v.Field("M", M);
  v.Field("L", L);
  v.Field("Track", Track);
  v.Field("RodRadius", RodRadius);
  v.Field("PendulumMass", PendulumMass);
  v.Field("AxleMass", AxleMass);
  v.Field("PendulumInertia", PendulumInertia);
  v.Field("YawInertia", YawInertia);
  v.Field("WheelMass", WheelMass);
  v.Field("WheelInertia", WheelInertia);
  v.Field("WheelEqMass", WheelEqMass);
  v.Field("TiltFriction", TiltFriction);
  v.Field("RollFriction", RollFriction);
  v.Field("YawFriction", YawFriction);
  v.Field("Torque1", Torque1);
  v.Field("Torque2", Torque2);
  v.Field("TorqueMax", TorqueMax);
  v.Field("Kp", Kp);
  v.Field("Ki", Ki);
  v.Field("Kd", Kd);
  v.Field("ErrIntegral", ErrIntegral);
  v.Field("ErrPrev", ErrPrev);
  v.Field("Av", Av);
  v.Field("AvMax", AvMax);
  v.Array("State", State, 8);
  v.Array("Stage", Stage, 8);
  v.Array("K1", K1, 8);
  v.Array("K2", K2, 8);
  v.Array("K3", K3, 8);
  v.Array("K4", K4, 8);
  v.Field("ControllerOn", ControllerOn);
  v.Field("CtrlCountdown", CtrlCountdown);
  v.Field("CtrlPeriod", CtrlPeriod);
}
