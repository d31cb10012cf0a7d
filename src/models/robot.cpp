#include "models/robot.h"

#include <cmath>

#include "models/constants.h"
#include "models/device_description.h"

double SafeAtan2(double y, double x) {
  if (x == 0) return y >= 0 ? kPi / 2 : -kPi / 2;
  return std::atan2(y, x);
}

TRobot::TRobot(double x0, double y0, int index, const TDeviceContext* context) {
  if (context) Context = context;
  TypeCode = 0;
  Index = index;
  Selected = false;
  PosX0 = x0;
  PosY0 = y0;
  Theta0 = 0;
  // A virtual call here would only reach the base version anyway; make that explicit.
  BaseReset();
  Scale = 1.0;
  Radius = 0;
  RecoilDuration = 1.0;
  AutoMode = false;
}

void TRobot::Reset() {
  BaseReset();
}

void TRobot::BaseReset() {
  PosX = PosX0;
  PosY = PosY0;
  VitX = VitY = Vit = 0;
  Theta = Theta0;
  Omega = 0;
  InContact = CollisionPending = Recoiling = false;
}

bool TRobot::AdvanceRecoil(double h) {
  const bool started = CollisionPending;
  if (started) {
    CollisionPending = false;
    Recoiling = true;
    RecoilTime = 0;
  }
  if (Recoiling) {
    RecoilTime += h;
    if (RecoilTime > RecoilDuration) Recoiling = false;
  }
  return started;
}

void TRobot::VisitFields(TFieldVisitor& v) const {
  v.Field("PosX", PosX);
  v.Field("PosY", PosY);
  v.Field("VitX", VitX);
  v.Field("VitY", VitY);
  v.Field("Vit", Vit);
  v.Field("Scale", Scale);
  v.Field("PosX0", PosX0);
  v.Field("PosY0", PosY0);
  v.Field("Theta0", Theta0);
  v.Field("Radius", Radius);
  v.Field("Theta", Theta);
  v.Field("Omega", Omega);
  v.Field("TypeCode", TypeCode);
  v.Field("Index", Index);
  v.Field("Selected", Selected);
  v.Field("AutoMode", AutoMode);
  v.Field("InContact", InContact);
  v.Field("CollisionPending", CollisionPending);
  v.Field("Recoiling", Recoiling);
  v.Field("RecoilTime", RecoilTime);
  v.Field("RecoilDuration", RecoilDuration);
}

const TDeviceDescription& TRobot::Description() const {
  static const TDeviceDescription kNone;
  return kNone;
}
