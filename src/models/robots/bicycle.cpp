#include "models/robots/bicycle.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

#include "models/constants.h"
#include "models/field_visitor.h"
#include "models/robots/rk4.h"

TBicycle::TBicycle(double x0, double y0, int index, const TDeviceContext* context)
    : TBalancingRobot(x0, y0, index, context) {
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
  // The tilt and yaw part, which reads exactly these; at rest it repeats.
  const double key[] = {
      theta, omega,     psi,         yaw_rate, Torque1,      Torque2,         m,          L, r,
      b,     WheelMass, WheelEqMass, AxleMass, TiltFriction, PendulumInertia, YawFriction};
  const std::size_t slot = derivative_calls_++;
  double tilt[5]; // YawInertia, d omega, d yaw rate, A sin psi, A cos psi
  if (const double* kept = tilt_memo_.Find(Context->MemoEnabled, slot, key)) {
    std::copy(kept, kept + 5, tilt);
  } else {
    const double C = Torque1 + Torque2;
    const double ms = WheelMass + WheelEqMass;
    const double sin_theta = std::sin(theta);
    const double yaw_inertia = (2 * WheelMass + AxleMass / 3) * ((b / 2) * (b / 2)) +
                               m * (L * L) * (sin_theta * sin_theta);
    tilt[0] = yaw_inertia;
    // No ground test here: Step clamps a fallen rod.
    tilt[1] = (m * kGravity * sin_theta - C - TiltFriction * omega) / PendulumInertia;
    tilt[2] = ((Torque1 - Torque2) / r + ms * b * std::sin(psi) * (yaw_rate * yaw_rate) -
               YawFriction * yaw_rate) /
              ((2 / b) * yaw_inertia);
    const double A = -(m * L / 2) * (-sin_theta * (omega * omega) +
                                     std::cos(theta) * (m * kGravity * sin_theta - C));
    tilt[3] = A * std::sin(psi);
    tilt[4] = A * std::cos(psi);
    tilt_memo_.Keep(slot, key, tilt);
  }
  YawInertia = tilt[0];
  out[0] = omega;
  out[1] = tilt[1];
  out[2] = yaw_rate;
  out[3] = tilt[2];

  Vit = std::sqrt(vx * vx + vy * vy);
  const double F = RollFriction * Vit;
  double Fx = 0, Fy = 0;
  if (Vit != 0) {
    Fx = -F * vx / Vit;
    Fy = -F * vy / Vit;
  }
  // Only the forward push follows the heading; the ground friction opposes the
  // ground velocity whatever the heading, or a turned robot would feed on it.
  out[4] = vx;
  out[5] = (tilt[3] + Fx) / M;
  out[6] = vy;
  out[7] = (tilt[4] + Fy) / M;
}

template <class F> void TBicycle::StepFields(F&& f) {
  EachField(f, CtrlCountdown, CtrlPeriod, ControllerOn, VitX, VitY, Vit, PosX, PosY, Kp, Ki, Kd,
            ErrIntegral, ErrPrev, Av, TorqueMax, Torque1, Torque2, L, RodRadius, Track,
            PendulumMass, WheelMass, WheelEqMass, AxleMass, TiltFriction, PendulumInertia,
            YawFriction, RollFriction, M, YawInertia, WheelR->R, WheelR->Phi, WheelL->R,
            WheelL->Phi);
  for (double* a : {State, Stage, K1, K2, K3, K4})
    for (int i = 0; i < 8; ++i)
      f(a[i]);
}

void TBicycle::Step(double h) {
  // A class that brings its own derivatives may read more than the list.
  if (typeid(*this) != typeid(TBicycle)) {
    Advance(h);
    return;
  }
  step_memo_.Step(
      Context->MemoEnabled, h, static_cast<std::size_t>(CtrlCountdown & 3), State,
      [this](auto&& f) { StepFields(f); }, [this, h] { Advance(h); });
}

void TBicycle::Advance(double h) {
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
  const double tilt[] = {State[0]};
  double cos_tilt[1];
  if (const double* kept = cos_memo_.Find(Context->MemoEnabled, 0, tilt)) {
    cos_tilt[0] = kept[0];
  } else {
    cos_tilt[0] = std::cos(State[0]);
    cos_memo_.Keep(0, tilt, cos_tilt);
  }
  if (cos_tilt[0] * L - RodRadius <= -r) {
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
