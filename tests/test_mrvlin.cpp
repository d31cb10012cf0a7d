// The switched-reluctance carriage: force models, commutation and its walk
// along the toothed rail.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "models/linear/mrvlin.h"
#include "models/linear/rail.h"
#include "test_support.h"

namespace {
namespace KINEMO_UNITY_ID {

constexpr double kPi = std::numbers::pi;
constexpr double kW = 0.008;
// K * h / g with I = 2 A: the full reluctance force while pole and tooth overlap.
constexpr double kFull = 6.031857894892403;

struct TMrvFixture : TFormFixture {
  TMRVlin& m = *form->Sim.MrvPtr;
  TRail& rail = *form->Sim.RailPtr;
  // A tooth of the loop's upper straight, well away from the seam.
  double tooth_x = [this] {
    double x, y, theta;
    rail.NearestTooth(0.76, 1.0, x, y, theta);
    return x;
  }();
  // Puts the energised pole (phase 0) at (x, y) with heading 0 and steps once
  // without moving anything that matters for the forces.
  void StepAt(double x, double y) {
    m.PosX = x;
    m.PosY = y;
    m.Theta = 0;
    m.Step(1e-12);
  }
};

// The angle folded into [-pi, pi].
double AngleFromZero(double a) {
  return std::remainder(a, 2 * kPi);
}

TEST(MRVlin, TakesTheToothBehindWhenTheStraightRailTruncatesPastIt) {
  TMrvFixture f;
  f.rail.RailType = 0;
  f.StepAt(0.195, 1.0);
  EXPECT_NEAR(f.m.ToothX, 0.188, 1e-15);
  EXPECT_NEAR(f.m.Dx, 0.007, 1e-15);
  EXPECT_NEAR(f.m.Fx, -1.4285714285714286, 1e-12);
  EXPECT_EQ(f.m.ForceCoef, 0.20106192982974677);
  EXPECT_NEAR(f.m.ToothDist, 0.017, 1e-15); // from the pole to the tooth the rail returned
}

TEST(MRVlin, DistanceModelSaturatesBelowOneMillimetre) {
  TMrvFixture f;
  const struct {
    double dx, dy;
    double fx, fy;
  } cases[] = {
      {0, 0, 10, 10},
      {0.0005, -0.0005, -10, 10},
      {-0.0009, 0.0009, 10, -10},
      {0.002, 0.005, -5, -2},
  };
  for (const auto& c : cases) {
    f.StepAt(f.tooth_x + c.dx, 1.0 + c.dy);
    EXPECT_NEAR(f.m.Fx, c.fx, 1e-9) << c.dx;
    EXPECT_NEAR(f.m.Fy, c.fy, 1e-9) << c.dy;
    EXPECT_EQ(f.m.Fz, 0);
  }
}

TEST(MRVlin, ReluctanceModelsByRangeOfTheOffset) {
  const double p = 3 * kW;
  const struct {
    std::int32_t model;
    double dx, dy;
    double fx;
    bool either_sign = false; // midway between teeth either neighbour may count as nearest
  } cases[] = {
      {1, 0, 0, kFull}, // alignment counts as the negative side
      {2, 0, 0, kFull},
      {1, 1e-9, 0, -kFull}, // just past it the pull reverses
      {2, -0.9 * kW, 0, kFull},
      {2, 1.4 * kW, 0, -kFull * std::sin(2 * kPi * 1.4 * kW / p)},
      {1, 1.4 * kW, 0, -0.1 * kFull}, // model 1 keeps a tenth of the pull
      {1, -1.2 * kW, 0, 0.1 * kFull},
      {2, 1.2 * kW, 0, -kFull * std::sin(2 * kPi * 1.2 * kW / p)},
      {2, 1.5 * kW, 0, 0}, // model 2 lets go midway; model 1 keeps a tenth
      {2, -1.5 * kW, 0, 0},
      {1, 1.5 * kW, 0, 0.1 * kFull, true},
      {1, -1.5 * kW, 0, 0.1 * kFull, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "model " << c.model << " dx " << c.dx);
    TMrvFixture f;
    f.m.ForceModel = c.model;
    f.StepAt(f.tooth_x + c.dx, 1.0 + c.dy);
    EXPECT_NEAR(c.either_sign ? std::fabs(f.m.Fx) : f.m.Fx, c.fx, 1e-6);
    EXPECT_EQ(f.m.Fz == 0, std::fabs(c.dx) > kW); // pulled down only while pole and tooth overlap
    EXPECT_EQ(f.m.Torque, 0);                     // the reluctance models compute no torque
  }
}

TEST(MRVlin, PhaseRunsZeroTwoOneAtTheSupplyFrequencyOneChangePerSubStepAtMost) {
  TMrvFixture f;
  // 1 Hz with 1 ms sub-steps: the first change comes after one second.
  std::vector<std::int32_t> phases{f.m.Phase};
  std::vector<int> change_at;
  for (int k = 1; k <= 3100; ++k) {
    f.m.Step(0.001);
    if (f.m.Phase != phases.back()) {
      phases.push_back(f.m.Phase);
      change_at.push_back(k);
    }
  }
  EXPECT_EQ(phases, (std::vector<std::int32_t>{0, 2, 1, 0}));
  ASSERT_EQ(change_at.size(), 3u);
  EXPECT_NEAR(change_at[0], 1000, 1);
  EXPECT_NEAR(change_at[1] - change_at[0], 1000, 1);

  // A period shorter than a sub-step still changes the phase only once per step.
  TMrvFixture g;
  g.form->Sim.Fs = 5000;
  const std::int32_t expected[] = {2, 1, 0, 2, 1, 0};
  for (std::int32_t phase : expected) {
    g.m.Step(0.001);
    EXPECT_EQ(g.m.Phase, phase);
  }

  // With the supply off the phase stays.
  TMrvFixture s;
  s.m.SupplyOn = false;
  for (int k = 0; k < 3000; ++k)
    s.m.Step(0.001);
  EXPECT_EQ(s.m.Phase, 0);
}

TEST(MRVlin, WalksTowardsMinusXOneToothWidthPerPhaseChange) {
  TMrvFixture f;
  // The pole settles on the loop's tooth at 0.208, then each change moves it by w.
  f.Ticks(50);
  EXPECT_NEAR(f.m.PosX, 0.208, 2e-4);
  f.Ticks(1000); // ten changes at 1 Hz
  EXPECT_NEAR(f.m.PosX, 0.208 - 10 * kW, 2e-4);
  EXPECT_NEAR(f.m.PosY, 1.0, 1e-3);
  EXPECT_NEAR((0.208 - f.m.PosX) / 10.0, 0.008, 2e-5); // mean speed, m/s
}

TEST(MRVlin, CrossesTheSeamOfTheLoopWithoutSpinning) {
  TMrvFixture f;
  f.form->AnimateClick();
  f.form->Sim.Fs = 10; // once round the loop in about 45 s of simulated time
  double max_omega = 0;
  bool before_seam = false, crossed = false;
  for (int t = 0; t < 6000 && !crossed; ++t) {
    f.form->Timer1Timer();
    max_omega = std::max(max_omega, std::fabs(f.m.Omega));
    if (f.m.ToothTheta > 6) before_seam = true;
    if (before_seam && f.m.ToothTheta == 0 && f.m.PosX < 0.9) crossed = true;
  }
  ASSERT_TRUE(crossed);
  EXPECT_LT(max_omega, 5); // a full turn the wrong way runs at tens of rad/s
  EXPECT_NEAR(AngleFromZero(f.m.Theta), 0, 0.05);
  EXPECT_NEAR(f.m.PosY, 1.0, 1e-3);
}

TEST(MRVlin, SeamErrorIsFoldedBeforeItBecomesTheTorque) {
  const struct {
    double theta;
    double x; // pole position on the loop near the seam
  } cases[] = {
      {2 * kPi - 0.01, 0.99}, // nearest tooth at s = 0, heading 0
      {0.01, 1.02},           // nearest tooth at the end of the loop, heading nearly 2 pi
  };
  for (const auto& c : cases) {
    TMrvFixture f;
    f.m.PosX = c.x;
    f.m.PosY = 1.0;
    f.m.Theta = c.theta;
    f.m.Step(1e-12);
    EXPECT_LT(std::fabs(f.m.DTheta), 0.2) << c.theta;
    EXPECT_NEAR(f.m.Torque, -f.m.DTheta, 0);
  }
}

TEST(MRVlin, DynamicsOffGlidesAtOneCentimetrePerSecond) {
  TMrvFixture f;
  f.m.DynamicsOn = false;
  for (int k = 0; k < 5; ++k) {
    f.m.VitX = 0; // as the E key leaves it
    f.m.Step(0.001);
    EXPECT_EQ(f.m.VitX, -0.01);
  }
}

TEST(MRVlin, ResetRestoresTheStartButKeepsTheForceModel) {
  TMrvFixture f;
  f.m.ForceModel = 2;
  f.Ticks(150);
  f.m.SupplyOn = false;
  f.m.InContact = true;
  f.m.Reset();
  EXPECT_EQ(std::vector<double>({f.m.PosX, f.m.PosY, f.m.VitX, double(f.m.Phase), f.m.PhaseTimer}),
            std::vector<double>({0.2, 1.0, 0, 0, 0}));
  EXPECT_TRUE(f.m.SupplyOn);
  EXPECT_TRUE(f.m.InContact);
  EXPECT_EQ(f.m.ForceModel, 2);
}

} // namespace KINEMO_UNITY_ID
} // namespace
