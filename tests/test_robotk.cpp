// The robot K (differential drive) and its base, the two-wheel robot.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "models/robots/robotk.h"
#include "test_support.h"

namespace {
constexpr double kPi = std::numbers::pi;
constexpr double kH = 0.001;
} // namespace

TEST(RobotK, WheelSpeedsGiveForwardSpeedAlongTheHeadingAndTurnRate) {
  const struct {
    double wR, wL, vit, omega;
  } cases[] = {
      {10, 10, 0.5, 0},                     // straight at 0.5 m/s
      {10, 4.5, 0.3625, 5.5 / 0.15 * 0.05}, // second programme phase: ~1.83 rad/s
      {5, -5, 0, 10 / 0.15 * 0.05},         // on the spot
      {-4, -4, -0.2, 0},                    // reversing: signed speed
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.wR << " " << c.wL);
    TRobotK r(0, 0, 1);
    r.Theta = -2 * kPi / 3;
    r.WheelR->SpinRate = c.wR;
    r.WheelL->SpinRate = c.wL;
    r.Step(kH);
    EXPECT_DOUBLE_EQ(r.Vit, c.vit);
    EXPECT_DOUBLE_EQ(r.Omega, c.omega);
    // The move is along the heading at the start of the step.
    EXPECT_DOUBLE_EQ(r.PosX, -std::sin(-2 * kPi / 3) * c.vit * kH);
    EXPECT_DOUBLE_EQ(r.PosY, std::cos(-2 * kPi / 3) * c.vit * kH);
    EXPECT_DOUBLE_EQ(r.WheelR->Phi, c.wR * kH);
    EXPECT_DOUBLE_EQ(r.WheelL->Phi, c.wL * kH);
  }
  EXPECT_NEAR(5.5 / 0.15 * 0.05, 1.83, 0.005);
}

TEST(RobotK, AutomaticProgrammePhasesAndWrapping) {
  const struct {
    double t, wL;
    bool recoiling;
  } cases[] = {{0, 10, false}, {2.4999, 10, false}, {2.5, 4.5, false}, {4.9999, 4.5, false},
               {5, 10, false}, {7.5, 4.5, false},   {1, 10, true},     {3, 4.5, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.t);
    TRobotK r(0, 0, 1);
    r.Recoiling = c.recoiling;
    r.AutoPilot(c.t);
    const double sign = c.recoiling ? -1 : 1;
    EXPECT_EQ(r.WheelR->SpinRate, sign * 10);
    EXPECT_EQ(r.WheelL->SpinRate, sign * c.wL);
  }
}

TEST(RobotK, ACollisionStopsTheWheelsAndInAutoModeBacksAlongTheArc) {
  for (bool automatic : {false, true}) {
    SCOPED_TRACE(automatic);
    TFormFixture f;
    auto* k = static_cast<TRobotK*>(&f.Device(1));
    k->Theta = 0; // facing +y, the obstacle just ahead
    TRobot* wall = f.Replace(0, new TRobot(-1.0, -1.2, 0));
    wall->Radius = 0.1;
    k->AutoMode = automatic;
    k->WheelR->SpinRate = k->WheelL->SpinRate = 6;
    for (int ticks = 0; !k->Recoiling && ticks < 300; ++ticks)
      f.form->Timer1Timer();
    ASSERT_TRUE(k->Recoiling);
    EXPECT_GT(k->SavedSpinR, 0);
    const double y_hit = k->PosY;
    f.Ticks(30);
    // Backing along the arc in automatic mode, stopped otherwise.
    EXPECT_EQ(k->WheelR->SpinRate < 0 && k->PosY < y_hit, automatic);
    EXPECT_EQ(k->WheelR->SpinRate == 0 && k->WheelL->SpinRate == 0 && k->PosY == y_hit, !automatic);
  }
}

TEST(Robot2, DriftsAlongWorldYWhateverItsHeading) {
  TRobot2 r(0.5, 0.25, 3);
  r.Theta = 1.0;
  EXPECT_EQ(r.VitY, 0.1);
  EXPECT_EQ(r.Vit, 0); // until the first step
  r.Step(kH);
  EXPECT_DOUBLE_EQ(r.PosY, 0.25 + 0.1 * kH);
  EXPECT_EQ(r.PosX, 0.5);
  EXPECT_EQ(r.Theta, 1.0);
  EXPECT_DOUBLE_EQ(r.Vit, 0.1);
  EXPECT_DOUBLE_EQ(r.WheelR->Phi, 0.1 / 0.05 * kH);
  // Toggled off: nothing moves.
  r.VitY = 0.1 - r.VitY;
  const double phi = r.WheelL->Phi;
  r.Step(kH);
  EXPECT_EQ(r.Vit, 0);
  EXPECT_EQ(r.WheelL->Phi, phi);
  EXPECT_DOUBLE_EQ(r.PosY, 0.25 + 0.1 * kH);
}
