#include "models/robots/robot4.h"

#include <algorithm>
#include <cmath>

#include "models/constants.h"
#include "models/field_visitor.h"

TRobot4::TRobot4(double x0, double y0, int index, const TDeviceContext* context)
    : TRobot2(x0, y0, index, context) {
  TypeCode = kTypeRobot4;
  WheelRL = std::make_unique<TRoue>();
  WheelRR = std::make_unique<TRoue>();
  TRobot4::Reset();
  TractionMax = 1.0;
  SteerMax = 0.5;
  FrictionStatic = 0.2;
  FrictionViscous = 1.0;
}

template <class F> void TRobot4::StepFields(F&& f) {
  EachField(f, RecoilTime, RecoilDuration, Traction, FrictionStatic, FrictionViscous, Friction,
            FrictionX, FrictionY, Vit, VitX, VitY, Theta, Steer, ForceX, ForceY, Force, Mass, PosX,
            PosY, Omega, Wheelbase, CollisionPending, Recoiling, WheelR->R, WheelR->Phi, WheelL->R,
            WheelL->Phi, WheelRR->R, WheelRR->Phi, WheelRL->R, WheelRL->Phi);
}

void TRobot4::Step(double h) {
  const double quick[] = {PosX, PosY, Theta, Vit, Omega};
  step_memo_.Step(
      Context->MemoEnabled, h, 0, quick, [this](auto&& f) { StepFields(f); },
      [this, h] { Advance(h); });
}

void TRobot4::Advance(double h) {
  if (AdvanceRecoil(h)) Traction = 0;

  Friction = std::min(std::fabs(Traction), FrictionStatic) + FrictionViscous * Vit;
  if (Vit == 0) {
    FrictionX = FrictionY = 0;
  } else {
    FrictionX = -Friction * VitX / Vit;
    FrictionY = -Friction * VitY / Vit;
  }

  const double a = Theta + Steer;
  ForceX = -std::sin(a) * Traction + FrictionX;
  ForceY = std::cos(a) * Traction + FrictionY;
  Force = std::sqrt(ForceX * ForceX + ForceY * ForceY);

  // Semi-implicit Euler: the position moves with the velocity just updated.
  VitX += ForceX / Mass * h;
  VitY += ForceY / Mass * h;
  PosX += VitX * h;
  PosY += VitY * h;
  Vit = std::sqrt(VitX * VitX + VitY * VitY);

  // Angle between the facing direction (-sin Theta, cos Theta) and the motion.
  // remainder() takes off whole turns exactly and cannot loop on a runaway heading.
  double d = std::remainder(Theta - SafeAtan2(VitY, VitX) + kPi / 2, 2 * kPi);
  if (d == -kPi) d = kPi;
  TRoue* wheels[] = {WheelR.get(), WheelL.get(), WheelRR.get(), WheelRL.get()};
  for (TRoue* w : wheels) {
    if (std::fabs(d) > kPi / 2)
      w->Phi -= Vit / w->R * h;
    else
      w->Phi += Vit / w->R * h;
  }

  // The turning sense follows the traction command, not the direction of motion.
  if (Traction >= 0)
    Omega = Vit / Wheelbase * std::sin(Steer);
  else
    Omega = Vit / Wheelbase * std::sin(-Steer);
  Theta = WrappedOnce(Theta + Omega * h);
}

void TRobot4::Reset() {
  TRobot2::Reset();
  VitY = 0;
  Vit = 0;
  Steer = 0;
  Traction = 0;
  Friction = 0;
  FrictionX = FrictionY = 0;
  ForceX = ForceY = 0;
  Force = 0;
  ShowSteering();
  WheelRL->Phi = 0;
  WheelRR->Phi = 0;
}

void TRobot4::ShowSteering() {
  WheelR->Delta = Steer;
  WheelL->Delta = Steer;
}

void TRobot4::AutoPilot(double t) {
  const double tau = t - 12 * std::trunc(t / 12);
  if (tau < 3) {
    Traction = 1.0;
    Steer = 0;
  } else if (tau < 6) {
    Traction = 0.8;
    Steer = 0.1;
  } else if (tau < 8) {
    Traction = 0.5;
    Steer = -0.1;
  } else if (tau < 10) {
    Traction = 0;
    Steer = -0.1;
  } else {
    Traction = -0.6;
    Steer = -SteerMax;
  }
  if (Recoiling) {
    Traction = -SavedTraction;
    Steer = -SavedSteer;
  }
}

void TRobot4::OnCollision() {
  SavedTraction = Traction;
  SavedSteer = Steer;
}

void TRobot4::VisitFields(TFieldVisitor& v) const {
  TRobot2::VisitFields(v);
  v.Field("ForceX", ForceX);
  v.Field("ForceY", ForceY);
  v.Field("Force", Force);
  v.Field("Traction", Traction);
  v.Field("TractionMax", TractionMax);
  v.Field("Friction", Friction);
  v.Field("FrictionX", FrictionX);
  v.Field("FrictionY", FrictionY);
  v.Field("FrictionStatic", FrictionStatic);
  v.Field("FrictionViscous", FrictionViscous);
  v.Field("Steer", Steer);
  v.Field("SteerMax", SteerMax);
  v.Field("SavedTraction", SavedTraction);
  v.Field("SavedSteer", SavedSteer);
}
