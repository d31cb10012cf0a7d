// The four rail shapes shared by the toothed rail and the magnet rail: length,
// the point and heading at an abscissa, the plain nearest-sample scan, and the
// closed loop's contact test. Coordinates are local to the rail's reference
// point unless a function says otherwise.
#pragma once

#include <cstdint>
#include <limits>

#include "models/constants.h"

class TRobot;

enum : std::int32_t {
  kRailStraight = 0,
  kRailShifted = 1,
  kRailCurved = 2,
  kRailLoop = 3,
};

struct TRailPoint {
  double x = 0, y = 0, theta = 0;
};

// Length along the centre line; 0 for an unknown type.
double RailLength(std::int32_t type, double curve_radius);

// Point and heading at abscissa s. The heading points back along the rail (the
// direction in which s decreases). On the loop, s beyond one turn wraps round.
TRailPoint RailPointAt(std::int32_t type, double curve_radius, double s);

// The sample at s = 0, pitch, 2 pitch, ... (s accumulated, while s < length)
// nearest to the world point (px, py), for a rail whose reference point is
// (ref_x, ref_y). Ties keep the earlier sample. Returns the distance (1e30 when
// no sample is finite) and stores the sample, in world coordinates, in `out`,
// and its position in the scan in `index`.
double ScanNearestSample(std::int32_t type, double curve_radius, double pitch, double ref_x,
                         double ref_y, double px, double py, TRailPoint& out, std::int32_t& index);

// The loop's contact test against another device: five check points along the
// loop's middle line, each acting on its own. Does nothing for the other shapes.
void LoopContact(TRobot& rail, std::int32_t type, double curve_radius, TRobot& other);

// x of the five check points relative to the rail's reference point, in test order.
inline constexpr double kLoopCheckX[5] = {1.0, 0.0, 0.25, 0.5, 0.75};

// Which of LoopContact's check points, from `first` on, touch `other` as the
// devices stand, with cy = the rail's PosY - curve_radius taken when the test
// began: bit k for point k. Computed as LoopContact computes it, so that a
// caller can replay the test's effects point by point.
std::uint8_t LoopContactHits(const TRobot& rail, double cy, const TRobot& other, int first = 0);

// Turns a truncated quotient into an int32 without undefined behaviour far outside
// the rail (the result is then only a far-away, still finite, index).
// Inline, as WrapTwoPi: the carriages call both at every sub-step.
inline std::int32_t SaturatingInt(double t) {
  constexpr double lo = std::numeric_limits<std::int32_t>::min();
  constexpr double hi = std::numeric_limits<std::int32_t>::max();
  if (!(t >= lo)) return std::numeric_limits<std::int32_t>::min(); // also NaN
  if (t > hi) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(t);
}

// Brings an angle into [0, 2 pi) with a single correction of one turn.
inline double WrapTwoPi(double a) {
  if (a < 0)
    a += 2 * kPi;
  else if (a >= 2 * kPi)
    a -= 2 * kPi;
  return a;
}
