#include "models/linear/mrvlin.h"

#include <cmath>

#include "models/constants.h"
#include "models/linear/rail.h"
#include "models/linear/rail_shape.h"

namespace {

constexpr double kTurns = 400;

// The distance law, saturated at +-10 N below 1 mm; exact alignment pulls towards +.
double DistanceLaw(double d) {
  if (std::fabs(d) >= 0.001) return -0.01 / d;
  return d <= 0 ? 10.0 : -10.0;
}

} // namespace

TMRVlin::TMRVlin(double x0, double y0, int index, const TDeviceContext* context)
    : TRobot(x0, y0, index, context) {
  TypeCode = kTypeMRVlin;
  AirGap0 = 0.001;
  ToothWidth = 0.008;
  RailWidth = 0.03;
  Mass = 1209 * ToothWidth * RailWidth;
  TMRVlin::DeriveConstants();
  ForceModel = 3;
  Scale = Context->MotorScale;
  TMRVlin::Reset();
}

void TMRVlin::DeriveConstants() {
  Inertia = 0.5 * Mass * ((7 * ToothWidth) * (7 * ToothWidth));
  Height0 = AirGap0 + 0.015;
  // Height follows Height0 from Reset on; an edited air gap shows at once.
  Height = Height0;
}

void TMRVlin::Reset() {
  Height = Height0;
  Dx = Dy = 0;
  DTheta = 0;
  AirGap = AirGap0;
  Phase = 0;
  Fx = Fy = Fz = 0;
  Torque = 0;
  Current = 2.0;
  SupplyOn = true;
  DynamicsOn = true;
  PhaseTimer = 0;
  PosX = PosX0;
  PosY = PosY0;
  VitX = VitY = Vit = 0;
  Theta = 0;
  Omega = 0;
}

void TMRVlin::Step(double h) {
  TRail* rail = Context->RailPtr;
  if (!rail) return; // nothing to run on
  const double w = ToothWidth;
  const double p = 3 * w;

  AirGap = AirGap0;
  ForceCoef = 0.25 * kMu0 * kTurns * kTurns * Current * Current;
  // The heading often stays put from step to step (on a straight, at rest).
  const double heading[] = {Theta};
  double turn[2];
  if (const double* kept = heading_memo_.Find(Context->MemoEnabled, 0, heading)) {
    turn[0] = kept[0];
    turn[1] = kept[1];
  } else {
    turn[0] = std::cos(Theta);
    turn[1] = std::sin(Theta);
    heading_memo_.Keep(0, heading, turn);
  }
  PoleX = PosX + 2 * Phase * w * turn[0];
  PoleY = PosY + 2 * Phase * w * turn[1];
  ToothDist = rail->NearestTooth(PoleX, PoleY, ToothX, ToothY, ToothTheta);
  Dx = PoleX - ToothX;
  Dy = PoleY - ToothY;
  ToothTheta = WrapTwoPi(ToothTheta);
  DTheta = Theta - ToothTheta;
  if (Dx < -1.5 * w) {
    ToothX = ToothX - p;
    Dx = PoleX - ToothX;
  }

  if (ForceModel == 3)
    DistanceForces();
  else
    ReluctanceForces();

  if (DynamicsOn) {
    VitX += ((Fx - 10 * VitX) / Mass) * h;
    VitY += ((Fy - 10 * VitY) / Mass) * h;
    Omega += ((Torque - 0.1 * Omega) / Inertia) * h;
  } else {
    VitX = -0.01;
  }
  PosX += VitX * h;
  PosY += VitY * h;
  Vit = std::sqrt(VitX * VitX + VitY * VitY);
  Theta += Omega * h;
  Theta = WrapTwoPi(Theta);

  if (SupplyOn) {
    PhaseTimer += h;
    if (PhaseTimer >= 1 / Context->Fs) {
      PhaseTimer -= 1 / Context->Fs;
      Phase -= 1;
      if (Phase == -1) Phase = 2;
    }
  }
}

void TMRVlin::DistanceForces() {
  Fx = DistanceLaw(Dx);
  Fy = DistanceLaw(Dy);
  Fz = 0;
  DTheta = DTheta - 2 * kPi * std::trunc(DTheta / (2 * kPi));
  // Both headings lie in [0, 2 pi), so where the nearest tooth passes the loop's
  // seam the raw error is nearly a full turn; the torque must take the short way.
  if (DTheta > kPi)
    DTheta -= 2 * kPi;
  else if (DTheta <= -kPi)
    DTheta += 2 * kPi;
  Torque = -DTheta;
}

void TMRVlin::ReluctanceForces() {
  const double w = ToothWidth;
  const double hr = RailWidth;
  const double p = 3 * w;
  const double g = AirGap;
  const double K = ForceCoef;
  OverlapX = w - std::fabs(Dx);
  if (OverlapX < 0) OverlapX = 0;
  OverlapY = hr - std::fabs(Dy);
  if (OverlapY < 0) OverlapY = 0;

  if (Dy > 0)
    Fy = -K * OverlapX / g;
  else if (Dy < 0)
    Fy = K * OverlapX / g;
  else
    Fy = 0;

  if (Dx > w) {
    Fx = ForceModel == 2 ? -(K * OverlapY / g) * std::sin(2 * kPi * Dx / p)
                         : -0.1 * K * (hr - Dy) / g;
    Fz = 0;
  } else if (Dx > 0) {
    Fx = -K * OverlapY / g;
    Fz = -K * OverlapY * OverlapX / (g * g);
  } else if (Dx >= -w) {
    Fx = K * OverlapY / g;
    Fz = -K * OverlapY * OverlapX / (g * g);
  } else {
    Fx =
        ForceModel == 2 ? -(K * OverlapY / g) * std::sin(2 * kPi * Dx / p) : 0.1 * K * OverlapY / g;
    Fz = 0;
  }
}

void TMRVlin::VisitFields(TFieldVisitor& v) const {
  TRobot::VisitFields(v);
  v.Field("Height0", Height0);
  v.Field("Height", Height);
  v.Field("Mass", Mass);
  v.Field("AirGap0", AirGap0);
  v.Field("Dx", Dx);
  v.Field("Dy", Dy);
  v.Field("OverlapX", OverlapX);
  v.Field("OverlapY", OverlapY);
  v.Field("DTheta", DTheta);
  v.Field("PoleX", PoleX);
  v.Field("PoleY", PoleY);
  v.Field("ToothX", ToothX);
  v.Field("ToothY", ToothY);
  v.Field("ToothTheta", ToothTheta);
  v.Field("ToothDist", ToothDist);
  v.Field("AirGap", AirGap);
  v.Field("ToothWidth", ToothWidth);
  v.Field("RailWidth", RailWidth);
  v.Field("Phase", Phase);
  v.Field("ForceModel", ForceModel);
  v.Field("Fx", Fx);
  v.Field("Fy", Fy);
  v.Field("Fz", Fz);
  v.Field("Torque", Torque);
  v.Field("Inertia", Inertia);
  v.Field("Current", Current);
  v.Field("ForceCoef", ForceCoef);
  v.Field("SupplyOn", SupplyOn);
  v.Field("DynamicsOn", DynamicsOn);
  v.Field("PhaseTimer", PhaseTimer);
}
