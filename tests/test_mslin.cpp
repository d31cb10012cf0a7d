// The synchronous carriage: Hall sensors and commutation, propulsion and travel
// limits, and the pendulum under its PID controller.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "models/linear/mslin.h"
#include "models/linear/rail_aimant.h"
#include "test_support.h"

namespace {
namespace KINEMO_UNITY_ID {

constexpr double kPi = std::numbers::pi;
constexpr double kW = 0.008;
const double kLyingDown = std::acos(-0.03); // about 91.7 degrees

struct TMsFixture : TFormFixture {
  TMSlin& m = *form->Sim.MsPtr;
  TRailAimant& rail = *form->Sim.AimantPtr;
};

TEST(MSlin, HallSensorsGiveTheSixSectorsAndTheirSwitchStates) {
  const struct {
    double dx; // offset from the magnet at or behind the carriage
    bool a, b, c;
    std::int32_t sector;
    std::vector<std::int32_t> sw;
  } cases[] = {
      {0, 1, 1, 0, 3, {0, 1, 1, 0, -1, -1}},        {1.0 * kW, 1, 1, 0, 3, {0, 1, 1, 0, -1, -1}},
      {2 * kW, 1, 0, 0, 1, {1, 1, 0, -1, -1, 0}},   {4.5 * kW, 1, 0, 1, 5, {1, 0, -1, -1, 0, 1}},
      {6.5 * kW, 0, 0, 1, 4, {0, -1, -1, 0, 1, 1}}, {8.5 * kW, 0, 1, 1, 6, {-1, -1, 0, 1, 1, 0}},
      {11 * kW, 0, 1, 0, 2, {-1, 0, 1, 1, 0, -1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dx);
    TMsFixture f;
    // Magnet 0 stands at XMax = -0.5, magnet 1 one pitch before it.
    f.m.PosX = c.dx == 0 ? -0.5 : -0.5 - f.rail.MagnetPitch + c.dx;
    f.m.Step(0.001);
    EXPECT_NEAR(f.m.Dx, c.dx, 1e-12);
    EXPECT_EQ(std::vector<bool>({f.m.HallA, f.m.HallB, f.m.HallC}),
              std::vector<bool>({c.a, c.b, c.c}));
    EXPECT_EQ(f.m.Secteur, c.sector);
    EXPECT_EQ(std::vector<std::int32_t>(f.m.Switch, f.m.Switch + 6), c.sw);
  }
}

TEST(MSlin, SectorsWithoutATableEntryLeaveTheSwitchesAndResetLeavesThemToo) {
  TMsFixture f;
  f.m.PosX = -0.5;
  f.m.Step(0.001); // sector 3
  const std::vector<std::int32_t> sector3(f.m.Switch, f.m.Switch + 6);
  f.m.HallA = f.m.HallB = f.m.HallC = true;
  f.m.Commutate();
  EXPECT_EQ(f.m.Secteur, 7);
  EXPECT_EQ(std::vector<std::int32_t>(f.m.Switch, f.m.Switch + 6), sector3);
  f.m.Reset();
  EXPECT_EQ(f.m.Secteur, 1);
  EXPECT_EQ(std::vector<std::int32_t>(f.m.Switch, f.m.Switch + 6), sector3);
}

TEST(MSlin, FullCurrentDrivesItToTheUpperLimitAtItsTerminalSpeed) {
  TMsFixture f;
  f.m.CurrentCmd = 2;
  f.m.Step(0.001);
  EXPECT_NEAR(f.m.Fx, 28.8, 1e-12);
  f.Ticks(100);                      // one second: about forty time constants
  EXPECT_EQ(f.m.PosX, -0.5);         // the magnet rail's upper limit
  EXPECT_NEAR(f.m.VitX, 2.88, 1e-9); // pressing on the limit with its speed intact
  f.m.CurrentCmd = -2;
  f.Ticks(200);
  EXPECT_EQ(f.m.PosX, f.rail.XMin);
}

TEST(MSlin, WithoutDynamicsItGlidesAtTheSupplyFrequencyToTheLowerLimit) {
  TMsFixture f;
  f.m.DynamicsOn = false;
  f.form->Sim.Fs = 10;
  f.m.Step(0.001);
  EXPECT_DOUBLE_EQ(f.m.VitX, -0.1);
  f.Ticks(1000);
  EXPECT_EQ(f.m.PosX, f.rail.XMin);
}

TEST(MSlin, ControllerBalancesThePendulumFromTwelveDegrees) {
  TMsFixture f;
  f.m.ControllerOn = true;
  double peak = 0;
  f.Ticks(100);
  for (int t = 0; t < 200; ++t) {
    f.Ticks(1);
    peak = std::max(peak, std::fabs(f.m.PendTheta));
  }
  EXPECT_LT(peak, 0.01);
  EXPECT_LE(std::fabs(f.m.CurrentCmd), f.m.CurrentMax);
  // A new set-point is followed.
  f.m.ThetaRef = kPi / 30;
  f.Ticks(300);
  EXPECT_NEAR(f.m.PendTheta, kPi / 30, 0.01);
}

TEST(MSlin, ControllerOutputIsClampedToTheCurrentBoundWithoutWindUp) {
  TMsFixture f;
  f.m.ControllerOn = true;
  f.m.PendTheta = 1.0; // e = -1: 5 A asked, 2 A given
  for (int k = 0; k < 3; ++k)
    f.m.Step(0.001);
  EXPECT_EQ(f.m.CurrentCmd, 2.0);
  EXPECT_EQ(f.m.ErrIntegral, 0);
}

TEST(MSlin, PendulumFallsPastTheGroundAngleAndLiesStill) {
  TMsFixture f;
  f.m.ControllerOn = true;
  f.m.DynamicsOn = false; // the current is forced to 0, so nothing holds the rod
  f.Ticks(300);
  EXPECT_GE(f.m.PendTheta, kLyingDown);
  EXPECT_LT(f.m.PendTheta, kLyingDown + 0.1);
  EXPECT_EQ(f.m.PendOmega, 0);
  const double lying = f.m.PendTheta;
  // A push while lying down is discarded at the next step.
  f.m.PendOmega = 100;
  f.m.Step(0.001);
  EXPECT_EQ(f.m.PendOmega, 0);
  EXPECT_EQ(f.m.PendTheta, lying);
  // The controller cannot raise it, even with the dynamics back on.
  f.m.DynamicsOn = true;
  f.Ticks(100);
  EXPECT_EQ(f.m.PendTheta, lying);
}

TEST(MSlin, FrozenPendulumWhileTheControllerIsOff) {
  TMsFixture f;
  f.m.PendOmega = 3;
  f.Ticks(50);
  EXPECT_EQ(f.m.PendTheta, kPi / 15);
  EXPECT_EQ(f.m.PendOmega, 3);
}

} // namespace KINEMO_UNITY_ID
} // namespace
