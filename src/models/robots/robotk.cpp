#include "models/robots/robotk.h"

#include <cmath>

#include "models/field_visitor.h"

TRobotK::TRobotK(double x0, double y0, int index, const TDeviceContext* context)
    : TRobot2(x0, y0, index, context) {
  TypeCode = kTypeRobotK;
  BodyWidth = 0.12;
  BodyLength = 0.12;
  BodyHeight = 0.06;
  TRobotK::Reset();
  SpinMax = 10;
}

template <class F> void TRobotK::StepFields(F&& f) {
  EachField(f, RecoilTime, RecoilDuration, Vit, VitX, VitY, Theta, PosX, PosY, Omega, Track,
            CollisionPending, Recoiling, WheelR->SpinRate, WheelR->R, WheelR->Phi, WheelL->SpinRate,
            WheelL->R, WheelL->Phi);
}

void TRobotK::Step(double h) {
  const double quick[] = {PosX, PosY, Theta, Vit, Omega};
  step_memo_.Step(
      Context->MemoEnabled, h, 0, quick, [this](auto&& f) { StepFields(f); },
      [this, h] { Advance(h); });
}

void TRobotK::Advance(double h) {
  if (AdvanceRecoil(h)) {
    WheelR->SpinRate = 0;
    WheelL->SpinRate = 0;
  }

  const double wR = WheelR->SpinRate;
  const double wL = WheelL->SpinRate;
  const double r = WheelR->R;
  Vit = (wR + wL) * 0.5 * r;
  VitX = -std::sin(Theta) * Vit;
  VitY = std::cos(Theta) * Vit;
  PosX += VitX * h;
  PosY += VitY * h;
  WheelR->Phi += WheelR->SpinRate * h;
  WheelL->Phi += WheelL->SpinRate * h;
  Omega = (wR - wL) / Track * r;
  Theta = WrappedOnce(Theta + Omega * h);
}

void TRobotK::Reset() {
  TRobot2::Reset();
  VitY = 0;
  Vit = 0;
  WheelR->SpinRate = 0;
  WheelR->Phi = 0;
  WheelL->SpinRate = 0;
  WheelL->Phi = 0;
}

void TRobotK::AutoPilot(double t) {
  const double tau = t - 5 * std::trunc(t / 5);
  WheelR->SpinRate = 10;
  WheelL->SpinRate = tau < 2.5 ? 10 : 4.5;
  // Back away along the arc the programme is driving.
  if (Recoiling) {
    WheelR->SpinRate = -WheelR->SpinRate;
    WheelL->SpinRate = -WheelL->SpinRate;
  }
}

void TRobotK::OnCollision() {
  SavedSpinR = WheelR->SpinRate;
  SavedSpinL = WheelL->SpinRate;
}

void TRobotK::VisitFields(TFieldVisitor& v) const {
  TRobot2::VisitFields(v);
  v.Field("SpinMax", SpinMax);
  v.Field("SavedSpinR", SavedSpinR);
  v.Field("SavedSpinL", SavedSpinL);
}
