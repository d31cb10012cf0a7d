#include "models/linear/rail_aimant.h"

#include <cmath>

TRailAimant::TRailAimant(double x0, double y0, int index, const TDeviceContext* context)
    : TRobot(x0, y0, index, context) {
  TypeCode = kTypeRailAimant;
  UnitWidth = 0.008;
  RailWidth = 0.03;
  MagnetThickness = 0.005;
  MagnetPitch = 12 * UnitWidth;
  CurveRadius = 0.25;
  RailType = kRailStraight;
  MagnetIndex = 0;
  Radius = RailType <= kRailShifted ? 1.5 * RailWidth : 1.3 * CurveRadius;
  if (RailType == kRailStraight) {
    XMin = (0.5 - Length()) + PosX0 + MagnetPitch;
    XMax = PosX0 + 0.5;
  }
  TRailAimant::Reset();
}

void TRailAimant::Reset() {
  PosX = PosX0;
  PosY = PosY0;
}

double TRailAimant::Length() const {
  return RailLength(RailType, CurveRadius);
}

void TRailAimant::PointAt(double s, double& x, double& y, double& theta) const {
  const TRailPoint p = RailPointAt(RailType, CurveRadius, s);
  x = p.x + PosX;
  y = p.y + PosY;
  theta = p.theta;
}

double TRailAimant::NearestMagnet(double px, double py, double& x, double& y, double& theta) {
  double dist = 0;
  if (RailType == kRailStraight || RailType == kRailShifted) {
    const double s = (PosX + 0.5) - px;
    double n = std::trunc(s / MagnetPitch);
    if (n * MagnetPitch < s) n = n + 1;
    MagnetIndex = SaturatingInt(n);
    x = (PosX + 0.5) - n * MagnetPitch;
    y = PosY;
    theta = 0;
  } else {
    TRailPoint p;
    dist =
        ScanNearestSample(RailType, CurveRadius, MagnetPitch, PosX, PosY, px, py, p, MagnetIndex);
    x = p.x;
    y = p.y;
    theta = p.theta;
  }
  Theta = theta;
  return dist;
}

void TRailAimant::CollideWith(TRobot* other) {
  if (other) LoopContact(*this, RailType, CurveRadius, *other);
}

void TRailAimant::VisitFields(TFieldVisitor& v) const {
  TRobot::VisitFields(v);
  v.Field("XMin", XMin);
  v.Field("XMax", XMax);
  v.Field("UnitWidth", UnitWidth);
  v.Field("RailWidth", RailWidth);
  v.Field("MagnetThickness", MagnetThickness);
  v.Field("MagnetPitch", MagnetPitch);
  v.Field("CurveRadius", CurveRadius);
  v.Field("RailType", RailType);
  v.Field("MagnetIndex", MagnetIndex);
}
