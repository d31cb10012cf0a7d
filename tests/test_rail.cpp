// The toothed rail and the magnet rail: shapes, tooth and magnet search, the
// closed loop's contact test.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "models/linear/rail.h"
#include "models/linear/rail_aimant.h"

namespace {
namespace KINEMO_UNITY_ID {

constexpr double kPi = std::numbers::pi;
constexpr double kR = 0.25;

TRailPoint At(const TRail& rail, double s) {
  TRailPoint p;
  rail.PointAt(s, p.x, p.y, p.theta);
  return p;
}

class TCollisionCounter : public TRobot {
public:
  TCollisionCounter(double x, double y, double radius) : TRobot(x, y, 0) { Radius = radius; }
  void OnCollision() override { ++Calls; }
  int Calls = 0;
};

TEST(Rail, CurvedShapesAreContinuousAndHeadingsPointBackAlongTheRail) {
  for (std::int32_t type : {2, 3}) {
    SCOPED_TRACE(type);
    TRail rail(0.3, -0.2, 5);
    rail.RailType = type;
    const double ds = 1e-4;
    TRailPoint prev = At(rail, 0);
    for (double s = ds; s < rail.Length() - ds; s += ds) {
      const TRailPoint p = At(rail, s);
      ASSERT_LT(std::hypot(p.x - prev.x, p.y - prev.y), ds * 1.0001) << "s=" << s;
      ASSERT_LT(std::fabs(p.theta - prev.theta), ds / kR * 1.0001) << "s=" << s;
      // The heading is the direction in which s decreases.
      ASSERT_NEAR((prev.x - p.x) / ds, std::cos(p.theta), 1e-3) << "s=" << s;
      ASSERT_NEAR((prev.y - p.y) / ds, std::sin(p.theta), 1e-3) << "s=" << s;
      prev = p;
    }
  }
}

TEST(Rail, TheLowerStraightHasNoEndAndTheLoopGoesRoundAgain) {
  TRail rail(0, 1, 5);
  rail.RailType = 2;
  const TRailPoint p = At(rail, 5.0);
  EXPECT_EQ(p.y, 1 - 2 * kR);
  EXPECT_NEAR(p.x, 5.0 - 1 - kPi * kR, 1e-15);
  rail.RailType = 3;
  const TRailPoint a = At(rail, 1.5), b = At(rail, 1.5 + rail.Length());
  EXPECT_NEAR(std::hypot(a.x - b.x, a.y - b.y), 0, 1e-12);
}

TEST(Rail, StraightNearestToothIsTheTruncatedToothWithItsDistance) {
  TRail rail(0, 1, 5);
  rail.RailType = 0;
  rail.Theta = 1;
  double x, y, theta;
  const double d = rail.NearestTooth(0.2, 1.0, x, y, theta);
  EXPECT_NEAR(x, 0.212, 1e-15);
  EXPECT_NEAR(d, 0.012, 1e-15);
  EXPECT_EQ(y, 1.0);
  EXPECT_EQ(theta + rail.Theta, 0);

  // Beyond the start the teeth continue on the extended line, at or behind the point.
  rail.NearestTooth(0.56, 1.0, x, y, theta);
  EXPECT_NEAR(x, 0.548, 1e-15);
  // Far away the result stays finite.
  rail.NearestTooth(-1e300, 1.0, x, y, theta);
  EXPECT_TRUE(std::isfinite(x));
}

TEST(Rail, ShiftedSectionFollowsTheAbscissaOfTheQuery) {
  TRail rail(-0.5, 1, 5); // so that s = -px exactly
  rail.RailType = 1;
  const struct {
    double s;
    double y;
  } cases[] = {{0.69, 1.0}, {0.7, 1.01}, {0.85, 1.01}, {1.0, 1.01}, {1.01, 1.0}};
  for (const auto& c : cases) {
    double x, y, theta;
    rail.NearestTooth(-c.s, 1.0, x, y, theta);
    EXPECT_EQ(y, c.y) << "s=" << c.s;
    const TRailPoint p = At(rail, c.s);
    EXPECT_EQ(p.y, c.y) << "s=" << c.s;
  }
}

// Also far from the origin, where rounding is coarse, and with a query far
// from every tooth.
TEST(Rail, CurvedNearestToothMatchesThePlainScanIncludingTies) {
  const struct {
    std::int32_t type;
    double x0, y0;
  } cases[] = {{2, 0.1, 0.9}, {3, 0.1, 0.9}, {2, -3e5, 7e4}, {3, -3e5, 7e4}};
  for (const auto& [type, x0, y0] : cases) {
    SCOPED_TRACE(type);
    SCOPED_TRACE(x0);
    TRail rail(x0, y0, 5);
    rail.RailType = type;
    std::vector<TRailPoint> queries;
    // Midpoints between neighbouring teeth, where ties happen, nudged by a few
    // ulps so that some squared distances differ while their roots are equal.
    for (double s = 0; s < rail.Length(); s += rail.ToothPitch) {
      const TRailPoint a = At(rail, s), b = At(rail, s + rail.ToothPitch);
      TRailPoint m{(a.x + b.x) / 2, (a.y + b.y) / 2, 0};
      for (int k = 0; k < 8; ++k) {
        queries.push_back(m);
        m.x = std::nextafter(m.x, 10.0);
      }
    }
    for (double qx = -0.5; qx < 1.6; qx += 0.037)
      for (double qy = 0.2; qy < 1.2; qy += 0.041)
        queries.push_back({x0 - 0.1 + qx, y0 - 0.9 + qy, 0}); // and a grid
    queries.push_back({x0 + 40, y0 - 3, 0});
    int ties = 0, root_ties = 0;
    for (const TRailPoint& q : queries) {
      TRailPoint plain;
      std::int32_t index;
      const double plain_d = ScanNearestSample(type, rail.CurveRadius, rail.ToothPitch, rail.PosX,
                                               rail.PosY, q.x, q.y, plain, index);
      double x, y, theta;
      const double d = rail.NearestTooth(q.x, q.y, x, y, theta);
      ASSERT_EQ(std::vector<double>({d, x, y, theta, rail.Theta}),
                std::vector<double>({plain_d, plain.x, plain.y, plain.theta, plain.theta}));
      // Count ties with a later tooth, and among them those where the later
      // tooth is nearer before the root is taken.
      const double kept_sq = (q.x - x) * (q.x - x) + (q.y - y) * (q.y - y);
      int i = 0;
      for (double s = 0; s < rail.Length(); s += rail.ToothPitch, ++i) {
        const TRailPoint t = At(rail, s);
        const double sq = (q.x - t.x) * (q.x - t.x) + (q.y - t.y) * (q.y - t.y);
        if (i > index && std::sqrt(sq) == d) {
          ++ties;
          if (sq < kept_sq) ++root_ties;
        }
      }
    }
    // The queries did exercise both kinds of tie.
    if (x0 != 0.1) continue;
    EXPECT_GT(ties, 0);
    EXPECT_GT(root_ties, 0);
  }
}

TEST(Rail, CurvedNearestToothFollowsAChangeOfShape) {
  TRail rail(0, 1, 5);
  double x, y, theta;
  rail.NearestTooth(1.2, 0.75, x, y, theta); // on the loop's right half circle
  EXPECT_NEAR(x, 1.25, 0.01);
  rail.RailType = 2; // no right half circle: the nearest tooth is the end of the upper straight
  rail.NearestTooth(1.2, 0.75, x, y, theta);
  EXPECT_EQ(x, 1.0);
  EXPECT_EQ(y, 1.0);
}

TEST(RailContact, OnlyTheLoopTouchesAndEachCheckPointActsOnItsOwn) {
  const double cy = 1 - kR;
  const struct {
    std::int32_t type;
    double x, y, radius;
    bool recoiling;
    int calls;
    bool contact;
  } cases[] = {
      {3, 0.5, cy, 0.2, false, 5, true},               // reaches all five check points
      {3, 1.0 + 0.325 + 0.1, cy, 0.1, false, 1, true}, // exactly at reach of one
      {3, 1.5, cy, 0.1, false, 0, false},
      {3, 0.5, cy, 0.2, true, 0, true},   // recoiling: contact without a collision
      {0, 0.5, cy, 0.2, false, 0, false}, // the straight rail takes no part
      {2, 0.5, cy, 0.2, false, 0, false},
  };
  for (const auto& c : cases) {
    TRail rail(0, 1, 5);
    rail.RailType = c.type;
    TCollisionCounter other(c.x, c.y, c.radius);
    other.Recoiling = c.recoiling;
    rail.CollideWith(&other);
    SCOPED_TRACE(testing::Message() << c.type << " x=" << c.x);
    EXPECT_EQ(other.Calls, c.calls);
    EXPECT_EQ(other.InContact && rail.InContact, c.contact);
    EXPECT_EQ(other.CollisionPending, c.calls > 0);
  }
}

TEST(MagnetRail, LimitsAndTheMagnetAtOrBehindThePoint) {
  TRailAimant rail(-1.0, 1.0, 7);
  EXPECT_NEAR(rail.XMin, -2.404, 1e-15);
  EXPECT_EQ(rail.XMax, -0.5);
  EXPECT_EQ(rail.Radius, 0.045);
  const struct {
    double px;
    double x;
    std::int32_t index;
  } cases[] = {
      {-1.5, -1.556, 11},  // the worked example: s = 1.0, 1.0 / 0.096 = 10.42
      {-0.5, -0.5, 0},     // exactly on a magnet
      {-0.596, -0.596, 1}, // exactly on a magnet
      {-0.4, -0.404, -1},  // beyond the +x end, on the extension
      {rail.XMin, -2.42, 20},
  };
  for (const auto& c : cases) {
    double x, y, theta;
    rail.Theta = 1;
    EXPECT_EQ(rail.NearestMagnet(c.px, 1.0, x, y, theta), 0);
    SCOPED_TRACE(c.px);
    EXPECT_NEAR(x, c.x, 1e-12);
    EXPECT_TRUE(x <= c.px && x + rail.MagnetPitch > c.px);
    EXPECT_EQ(rail.MagnetIndex, c.index);
    EXPECT_EQ(y + rail.Theta, 1.0);
  }
}

TEST(MagnetRail, CurvedShapeGivesTheNearestSample) {
  TRailAimant rail(0, 1, 7);
  rail.RailType = 3;
  double x, y, theta;
  // Just off the fourth magnet position of the upper straight.
  const double d = rail.NearestMagnet(1 - 3 * 0.096 + 0.01, 1.02, x, y, theta);
  EXPECT_NEAR(x, 1 - 3 * 0.096, 1e-12);
  EXPECT_EQ(y, 1.0);
  EXPECT_EQ(rail.MagnetIndex, 3);
  EXPECT_NEAR(d, std::hypot(0.01, 0.02), 1e-12);
}

} // namespace KINEMO_UNITY_ID
} // namespace
