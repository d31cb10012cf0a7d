#include "models/linear/rail_shape.h"

#include <cmath>
#include <limits>

#include "models/constants.h"
#include "models/robot.h"

double RailLength(std::int32_t type, double R) {
  switch (type) {
  case kRailStraight:
  case kRailShifted:
    return 2.0;
  case kRailCurved:
    return 2 + kPi * R;
  case kRailLoop:
    return 2 + 2 * kPi * R;
  default:
    return 0;
  }
}

TRailPoint RailPointAt(std::int32_t type, double R, double s) {
  TRailPoint p;
  switch (type) {
  case kRailStraight:
    p.x = 0.5 - s;
    break;
  case kRailShifted:
    p.x = 0.5 - s;
    if (0.7 <= s && s <= 1.0) p.y = 0.01;
    break;
  case kRailCurved:
  case kRailLoop: {
    if (type == kRailLoop) {
      // The pieces end just short of one turn; past it the loop simply goes round again.
      const double turn = RailLength(kRailLoop, R);
      if (s >= turn) s = std::fmod(s, turn);
    }
    if (s <= 1) {
      p.x = 1 - s;
    } else if (s <= 1 + kPi * R) {
      const double phi = (s - 1) / R + kPi / 2;
      p.x = R * std::cos(phi);
      p.y = R * (std::sin(phi) - 1);
      p.theta = phi - kPi / 2;
    } else if (type == kRailCurved || s <= 2 + kPi * R) {
      p.x = s - 1 - kPi * R;
      p.y = -2 * R;
      p.theta = kPi;
    } else {
      const double phi = (s - 2 - kPi * R) / R + 3 * kPi / 2;
      p.x = 1 + R * std::cos(phi);
      p.y = R * (std::sin(phi) - 1);
      p.theta = phi - kPi / 2;
    }
    break;
  }
  default:
    break;
  }
  return p;
}

double ScanNearestSample(std::int32_t type, double R, double pitch, double ref_x, double ref_y,
                         double px, double py, TRailPoint& out, std::int32_t& index) {
  const double length = RailLength(type, R);
  double best = 1e30;
  out = RailPointAt(type, R, 0);
  out.x += ref_x;
  out.y += ref_y;
  index = 0;
  std::int32_t i = 0;
  for (double s = 0; s < length; s += pitch, ++i) {
    TRailPoint q = RailPointAt(type, R, s);
    q.x += ref_x;
    q.y += ref_y;
    const double d = std::sqrt((px - q.x) * (px - q.x) + (py - q.y) * (py - q.y));
    if (d < best) {
      best = d;
      out = q;
      index = i;
    }
  }
  return best;
}

void LoopContact(TRobot& rail, std::int32_t type, double R, TRobot& other) {
  if (type != kRailLoop) return;
  const double cy = rail.PosY - R;
  for (double dx : kLoopCheckX) {
    const double cx = rail.PosX + dx;
    const double ex = other.PosX - cx;
    const double ey = other.PosY - cy;
    if (std::sqrt(ex * ex + ey * ey) <= other.Radius + rail.Radius) {
      rail.InContact = true;
      other.InContact = true;
      if (!other.Recoiling) {
        other.CollisionPending = true;
        other.OnCollision();
      }
    }
  }
}

std::uint8_t LoopContactHits(const TRobot& rail, double cy, const TRobot& other, int first) {
  std::uint8_t hits = 0;
  for (int k = first; k < 5; ++k) {
    const double cx = rail.PosX + kLoopCheckX[k];
    const double ex = other.PosX - cx;
    const double ey = other.PosY - cy;
    if (std::sqrt(ex * ex + ey * ey) <= other.Radius + rail.Radius)
      hits = static_cast<std::uint8_t>(hits | 1u << k);
  }
  return hits;
}
