#include "models/robots/monocycle.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

#include "models/constants.h"
#include "models/field_visitor.h"
#include "models/robots/rk4.h"

TMonocycle::TMonocycle(double x0, double y0, int index, const TDeviceContext* context)
    : TBalancingRobot(x0, y0, index, context) {
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

void TMonocycle::RodRates(double theta, double omega, double (&rod)[3]) const {
  const double m = PendulumMass;
  const double r = Wheel->R;
  const bool upright = std::cos(theta) * L - RodRadius > -r;
  rod[0] = upright ? 1 : 0;
  rod[1] = rod[2] = 0;
  if (upright) {
    rod[1] = (m * kGravity * std::sin(theta) - Ce - TiltFriction * omega) / PendulumInertia;
    rod[2] =
        std::cos(theta) * (m * kGravity * std::sin(theta) - Ce) - std::sin(theta) * (omega * omega);
  }
}

double TMonocycle::TravelRate(bool upright, double push, double v) const {
  const double m = PendulumMass;
  if (upright) return -(m * L / 2) * (push + RollFriction * v) / (M + WheelEqMass);
  return -(m * L / 2) * RollFriction * v / (M + WheelEqMass);
}

void TMonocycle::Derivatives(double* out, const double* in) {
  const double omega = in[1], v = in[3];
  double rod[3];
  RodRates(in[0], omega, rod);
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
  out[3] = TravelRate(upright, rod[2], v);
}

void TMonocycle::Step(double h) {
  // A class that brings its own derivatives may read more than the rod's key.
  if (Context->MemoEnabled && typeid(*this) == typeid(TMonocycle))
    SplitRk4Step(h);
  else
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

// The RK4 step of Rk4Step, component by component: the rod's half (tilt and
// tilt rate) reads nothing of the travel, and at rest repeats step after step
// while the travel still creeps, so it is kept with exactly what it reads.
void TMonocycle::SplitRk4Step(double h) {
  const double key[] = {State[0], State[1],  h,        Ce,           PendulumMass,
                        L,        RodRadius, Wheel->R, TiltFriction, PendulumInertia};
  double rod[kRodStepSize];
  if (const double* kept = rod_step_memo_.Find(Context->MemoEnabled,
                                               static_cast<std::size_t>(CtrlCountdown & 3), key)) {
    std::copy(kept, kept + kRodStepSize, rod);
  } else {
    RodHalfStep(h, rod);
    rod_step_memo_.Keep(static_cast<std::size_t>(CtrlCountdown & 3), key, rod);
  }
  double* K[4] = {K1, K2, K3, K4};
  for (int s = 0; s < 4; ++s) {
    K[s][0] = rod[2 * s];
    K[s][1] = rod[2 * s + 1];
  }
  Stage[0] = rod[8];
  Stage[1] = rod[9];
  const double state0 = rod[10], state1 = rod[11];

  // The travel's half, as Rk4Step does it.
  auto rates = [&](int s, double* out, const double* in) {
    out[2] = in[3];
    out[3] = TravelRate(rod[12 + s] != 0, rod[16 + s], in[3]);
  };
  rates(0, K1, State);
  for (std::size_t i = 2; i < 4; ++i)
    Stage[i] = State[i] + K1[i] * h / 2;
  rates(1, K2, Stage);
  for (std::size_t i = 2; i < 4; ++i)
    Stage[i] = State[i] + K2[i] * h / 2;
  rates(2, K3, Stage);
  for (std::size_t i = 2; i < 4; ++i)
    Stage[i] = State[i] + K3[i] * h;
  rates(3, K4, Stage);
  for (std::size_t i = 2; i < 4; ++i)
    State[i] += ((K2[i] + K3[i]) * 2 + K1[i] + K4[i]) * h / 6;
  State[0] = state0;
  State[1] = state1;
}

void TMonocycle::RodHalfStep(double h, double (&out)[kRodStepSize]) const {
  double state[2] = {State[0], State[1]};
  double stage[2];
  double k[4][2];
  auto rates = [&](int s, double* rate, const double* in) {
    double rod[3];
    RodRates(in[0], in[1], rod);
    const bool upright = rod[0] != 0;
    rate[0] = upright ? in[1] : 0;
    rate[1] = upright ? rod[1] : 0;
    out[12 + s] = rod[0];
    out[16 + s] = rod[2];
  };
  rates(0, k[0], state);
  for (std::size_t i = 0; i < 2; ++i)
    stage[i] = state[i] + k[0][i] * h / 2;
  rates(1, k[1], stage);
  for (std::size_t i = 0; i < 2; ++i)
    stage[i] = state[i] + k[1][i] * h / 2;
  rates(2, k[2], stage);
  for (std::size_t i = 0; i < 2; ++i)
    stage[i] = state[i] + k[2][i] * h;
  rates(3, k[3], stage);
  for (std::size_t i = 0; i < 2; ++i)
    state[i] += ((k[1][i] + k[2][i]) * 2 + k[0][i] + k[3][i]) * h / 6;
  for (int s = 0; s < 4; ++s) {
    out[2 * s] = k[s][0];
    out[2 * s + 1] = k[s][1];
  }
  out[8] = stage[0];
  out[9] = stage[1];
  out[10] = state[0];
  out[11] = state[1];
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
