#include "models/linear/rail.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

TRail::TRail(double x0, double y0, int index, const TDeviceContext* context)
    : TRobot(x0, y0, index, context) {
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
    BuildToothGrid();
  }
  return cache_.teeth;
}

void TRail::BuildToothGrid() {
  TToothCache& c = cache_;
  c.nx = c.ny = 0;
  c.last = 0;
  c.cell_start.clear();
  c.cell_teeth.clear();
  if (c.teeth.size() < 16) return;
  double x1 = c.teeth[0].x, y1 = c.teeth[0].y;
  c.x0 = x1;
  c.y0 = y1;
  for (const TRailPoint& t : c.teeth) {
    if (!std::isfinite(t.x) || !std::isfinite(t.y)) return;
    c.x0 = std::min(c.x0, t.x);
    c.y0 = std::min(c.y0, t.y);
    x1 = std::max(x1, t.x);
    y1 = std::max(y1, t.y);
  }
  c.reach = std::max({-c.x0, -c.y0, x1, y1});
  // Cells of a few teeth each, at most 64 a side.
  c.cell = std::max({2 * c.pitch, (x1 - c.x0) / 64, (y1 - c.y0) / 64});
  c.per_cell = 1 / c.cell;
  if (!std::isfinite(c.reach) || !std::isfinite(c.cell) || !(c.cell > 0)) return;
  c.nx = static_cast<std::int32_t>((x1 - c.x0) / c.cell) + 1;
  c.ny = static_cast<std::int32_t>((y1 - c.y0) / c.cell) + 1;
  std::vector<std::uint32_t> cell_of(c.teeth.size());
  c.cell_start.assign(static_cast<std::size_t>(c.nx) * c.ny + 1, 0);
  for (std::size_t i = 0; i < c.teeth.size(); ++i) {
    const auto ix = std::min(static_cast<std::int32_t>((c.teeth[i].x - c.x0) / c.cell), c.nx - 1);
    const auto iy = std::min(static_cast<std::int32_t>((c.teeth[i].y - c.y0) / c.cell), c.ny - 1);
    cell_of[i] = static_cast<std::uint32_t>(iy * c.nx + ix);
    ++c.cell_start[cell_of[i] + 1];
  }
  for (std::size_t k = 1; k < c.cell_start.size(); ++k)
    c.cell_start[k] += c.cell_start[k - 1];
  c.cell_teeth.resize(c.teeth.size());
  std::vector<std::uint32_t> fill(c.cell_start.begin(), c.cell_start.end() - 1);
  for (std::size_t i = 0; i < c.teeth.size(); ++i)
    c.cell_teeth[fill[cell_of[i]]++] = static_cast<std::uint32_t>(i);
}

namespace {

// std::floor without the library call (the baseline x86-64 has no rounding
// instruction), exact where a 64-bit integer holds the value.
double Floor(double v) {
  if (!(std::fabs(v) < 1e15)) return std::floor(v); // also NaN
  const auto t = static_cast<double>(static_cast<std::int64_t>(v));
  return t > v ? t - 1 : t;
}

} // namespace

bool TRail::NearCells(double px, double py, TCellBox& box) const {
  const TToothCache& c = cache_;
  if (c.nx == 0) return false;
  // The distance to the tooth kept last bounds the nearest one's. Rounding
  // differs between the scan's world coordinates and the grid's local ones by
  // far less than the margin.
  const TRailPoint& t = c.teeth[std::min(c.last, c.teeth.size() - 1)];
  const double dx = px - (t.x + PosX), dy = py - (t.y + PosY);
  const double margin =
      1e-9 * (1 + std::fabs(px) + std::fabs(py) + std::fabs(PosX) + std::fabs(PosY) + c.reach);
  const double r = std::sqrt(dx * dx + dy * dy) + margin;
  // In cells, by the inverse: its rounding is as far below the margin.
  const double qx = (px - PosX - c.x0) * c.per_cell, qy = (py - PosY - c.y0) * c.per_cell;
  const double rc = r * c.per_cell;
  // The margin, some ten million times the rounding of the cell arithmetic
  // in cells, also keeps a tooth within reach inside these bounds.
  const double lox = std::max(Floor(qx - rc), 0.0);
  const double hix = std::min(Floor(qx + rc), c.nx - 1.0);
  const double loy = std::max(Floor(qy - rc), 0.0);
  const double hiy = std::min(Floor(qy + rc), c.ny - 1.0);
  // Also false for a non-finite query or bound, where no comparison holds.
  if (!(lox <= hix && loy <= hiy)) return false;
  if ((hix - lox + 1) * (hiy - loy + 1) * 2 > static_cast<double>(c.nx) * c.ny) return false;
  box = {static_cast<std::int32_t>(lox), static_cast<std::int32_t>(hix),
         static_cast<std::int32_t>(loy), static_cast<std::int32_t>(hiy)};
  return true;
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
    // Same choice as a scan in tooth order comparing every sample's root with
    // '<': the lowest tooth among those whose root is the least. The teeth are
    // taken in any order, so a root equal to the best one also wins when its
    // tooth comes first. A root is only worked out where the squared distance
    // may give the best one: below the best square, or, for an earlier tooth,
    // up to far beyond the rounding that could make both roots equal.
    const std::vector<TRailPoint>& teeth = CurvedTeeth();
    double best = 1e30;
    double best_sq = std::numeric_limits<double>::infinity();
    std::size_t kept = 0;
    auto scan = [&](std::size_t i) {
      const double dx = px - (teeth[i].x + PosX);
      const double dy = py - (teeth[i].y + PosY);
      const double sq = dx * dx + dy * dy;
      if (sq < best_sq || (i < kept && sq <= best_sq * (1 + 1e-9))) {
        const double d = std::sqrt(sq);
        if (d < best || (d == best && i < kept)) {
          best = d;
          best_sq = sq;
          kept = i;
        }
      }
    };
    TCellBox box;
    std::size_t seen = 0;
    if (NearCells(px, py, box)) {
      const TToothCache& c = cache_;
      for (std::int32_t iy = box.y0; iy <= box.y1; ++iy) {
        // The row's cells x0..x1 hold one run of teeth.
        const std::size_t row = static_cast<std::size_t>(iy) * static_cast<std::size_t>(c.nx);
        const std::size_t first = c.cell_start[row + static_cast<std::size_t>(box.x0)];
        const std::size_t end = c.cell_start[row + static_cast<std::size_t>(box.x1) + 1];
        for (std::size_t k = first; k < end; ++k)
          scan(c.cell_teeth[k]);
        seen += end - first;
      }
    }
    if (seen == 0) {
      for (std::size_t i = 0; i < teeth.size(); ++i)
        scan(i);
    }
    cache_.last = kept;
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
