#include "models/linear/rail.h"

#include <cmath>
#include <limits>

TRail::TRail(double x0, double y0, int index) : TRobot(x0, y0, index) {
  TypeCode = kTypeRail;
  ToothWidth = 0.008;
  RailWidth = 0.03;
  ToothPitch = 3 * ToothWidth;
  CurveRadius = 0.25;
  RailType = kRailLoop;
  Radius = RailType <= kRailShifted ? 1.5 * RailWidth : 1.3 * CurveRadius;
  TRail::Reset();
}

void TRail::Reset() {
  PosX = PosX0;
  PosY = PosY0;
}

double TRail::Length() const {
  return RailLength(RailType, CurveRadius);
}

void TRail::PointAt(double s, double& x, double& y, double& theta) const {
  const TRailPoint p = RailPointAt(RailType, CurveRadius, s);
  x = p.x + PosX;
  y = p.y + PosY;
  theta = p.theta;
}

const std::vector<TRailPoint>& TRail::CurvedTeeth() {
  if (cache_.type != RailType || cache_.radius != CurveRadius || cache_.pitch != ToothPitch) {
    cache_.type = RailType;
    cache_.radius = CurveRadius;
    cache_.pitch = ToothPitch;
    cache_.teeth.clear();
    const double length = Length();
    for (double s = 0; s < length; s += ToothPitch)
      cache_.teeth.push_back(RailPointAt(RailType, CurveRadius, s));
  }
  return cache_.teeth;
}

double TRail::NearestTooth(double px, double py, double& x, double& y, double& theta) {
  double dist = 0;
  if (RailType == kRailStraight || RailType == kRailShifted) {
    const double s = (PosX + 0.5) - px;
    const double n = std::trunc(s / ToothPitch);
    x = PosX + 0.5 - n * ToothPitch;
    y = PosY;
    theta = 0;
    if (RailType == kRailShifted && 0.7 <= s && s <= 1.0) y = y + 0.01;
    dist = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
  } else {
    // Same choice as a scan comparing every sample's root with '<': a root is
    // only taken where the squared distance already beats the best one, and the
    // root comparison then decides, so rounding ties still keep the earlier sample.
    const std::vector<TRailPoint>& teeth = CurvedTeeth();
    double best = 1e30;
    double best_sq = std::numeric_limits<double>::infinity();
    std::size_t kept = 0;
    for (std::size_t i = 0; i < teeth.size(); ++i) {
      const double dx = px - (teeth[i].x + PosX);
      const double dy = py - (teeth[i].y + PosY);
      const double sq = dx * dx + dy * dy;
      if (sq < best_sq) {
        const double d = std::sqrt(sq);
        if (d < best) {
          best = d;
          best_sq = sq;
          kept = i;
        }
      }
    }
    if (teeth.empty()) {
      x = PosX;
      y = PosY;
      theta = 0;
    } else {
      x = teeth[kept].x + PosX;
      y = teeth[kept].y + PosY;
      theta = teeth[kept].theta;
    }
    dist = best;
  }
  Theta = theta;
  return dist;
}

void TRail::CollideWith(TRobot* other) {
  if (other) LoopContact(*this, RailType, CurveRadius, *other);
}

void TRail::VisitFields(TFieldVisitor& v) const {
  TRobot::VisitFields(v);
  v.Field("ToothWidth", ToothWidth);
  v.Field("RailWidth", RailWidth);
  v.Field("ToothPitch", ToothPitch);
  v.Field("CurveRadius", CurveRadius);
  v.Field("RailType", RailType);
}
