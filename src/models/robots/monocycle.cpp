#include "models/robots/monocycle.h"

#include <algorithm>
#include <cmath>

#include "models/constants.h"
#include "models/field_visitor.h"
#include "models/robots/rk4.h"

TMonocycle::TMonocycle(double x0, double y0, int index) : TBalancingRobot(x0, y0, index) {
  TypeCode = kTypeMonocycle;
  Wheel = std::make_unique<TRoue>();
  L = 0.15;
  RodRadius = 0.01;
  Radius = 0.15;
  WheelMass = 0.1;
  PendulumMass = 0.2;
  TMonocycle::DeriveConstants();
  TiltFriction = 0.8;
  RollFriction = 10;
  CeMax = 3;
  AvMax = kPi / 3;
  CtrlPeriod = 3;
  Kp = 5;
  Ki = 0.3;
  Kd = 0;
  TMonocycle::Reset();
}

void TMonocycle::DeriveConstants() {
  const double r = Wheel->R;
  WheelInertia = 0.5 * WheelMass * (r * r);
  PendulumInertia = PendulumMass * (L * L) / 3;
  M = WheelMass + PendulumMass;
  Wheel->Mass = WheelMass;
  WheelEqMass = WheelInertia / r / r;
}

void TMonocycle::Derivatives(double* out, const double* in) {
  const double theta = in[0], omega = in[1], v = in[3];
  const double m = PendulumMass;
  const double r = Wheel->R;
  // The rod's part, which reads exactly these; at rest it repeats.
  const double key[] = {theta, omega, Ce, m, L, RodRadius, r, TiltFriction, PendulumInertia};
  const std::size_t slot = derivative_calls_++;
  double rod[3]; // upright (1 or 0), d omega, the rod's push on the wheel
  if (const double* kept = rod_memo_.Find(slot, key)) {
    std::copy(kept, kept + 3, rod);
  } else {
    const bool upright = std::cos(theta) * L - RodRadius > -r;
    rod[0] = upright ? 1 : 0;
    rod[1] = rod[2] = 0;
    if (upright) {
      rod[1] = (m * kGravity * std::sin(theta) - Ce - TiltFriction * omega) / PendulumInertia;
      rod[2] = std::cos(theta) * (m * kGravity * std::sin(theta) - Ce) -
               std::sin(theta) * (omega * omega);
    }
    rod_memo_.Keep(slot, key, rod);
  }
  const bool upright = rod[0] != 0;
  if (upright) {
    out[0] = omega;
    out[1] = rod[1];
  } else {
    // A fallen rod stays where it lies.
    out[0] = 0;
    out[1] = 0;
  }
  out[2] = v;
  if (upright)
    out[3] = -(m * L / 2) * (rod[2] + RollFriction * v) / (M + WheelEqMass);
  else
    out[3] = -(m * L / 2) * RollFriction * v / (M + WheelEqMass);
}

void TMonocycle::Step(double h) {
  Rk4Step(State, Stage, K1, K2, K3, K4, h,
          [this](double* out, const double* in) { Derivatives(out, in); });

  const double r = Wheel->R;
  VitX = 0;
  VitY = State[3] / r;
  Vit = std::sqrt(VitX * VitX + VitY * VitY);
  PosY = State[2];

  if (ControllerOn && ControllerDue()) Ce = ControllerOutput(Av - State[0], CeMax);
  State[0] = WrappedOnce(State[0]);

  WheelAngleFromTravel();
}

void TMonocycle::WheelAngleFromTravel() {
  Wheel->Phi = WheelAngleAt(State[2], Wheel->R);
}

void TMonocycle::Reset() {
  TRobot::Reset();
  State[2] = PosY0;
  State[3] = 0;
  PosY = State[2];
  Av = 0;
  WheelAngleFromTravel();
  PosX = PosX0;
  State[0] = kPi / 6;
  State[1] = 0;
  ResetController(true);
  Ce = 0;
}

void TMonocycle::VisitFields(TFieldVisitor& v) const {
  TRobot::VisitFields(v);
  VisitWheel(v, "Wheel", Wheel.get());
  v.Field("M", M);
  v.Field("L", L);
  v.Field("RodRadius", RodRadius);
  v.Field("PendulumMass", PendulumMass);
  v.Field("PendulumInertia", PendulumInertia);
  v.Field("WheelMass", WheelMass);
  v.Field("WheelInertia", WheelInertia);
  v.Field("WheelEqMass", WheelEqMass);
  v.Field("TiltFriction", TiltFriction);
  v.Field("RollFriction", RollFriction);
  v.Field("Ce", Ce);
  v.Field("CeMax", CeMax);
  v.Field("Kp", Kp);
  v.Field("Ki", Ki);
  v.Field("Kd", Kd);
  v.Field("ErrIntegral", ErrIntegral);
  v.Field("ErrPrev", ErrPrev);
  v.Field("Av", Av);
  v.Field("AvMax", AvMax);
  v.Array("State", State, 4);
  v.Array("Stage", Stage, 4);
  v.Array("K1", K1, 4);
  v.Array("K2", K2, 4);
  v.Array("K3", K3, 4);
  v.Array("K4", K4, 4);
  v.Field("ControllerOn", ControllerOn);
  v.Field("CtrlCountdown", CtrlCountdown);
  v.Field("CtrlPeriod", CtrlPeriod);
}
