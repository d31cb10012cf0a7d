// The two balancing robots: controller timing and anti-windup, the fall of the
// rod, yaw, and the order of their Runge-Kutta steps.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "models/robots/bicycle.h"
#include "models/robots/monocycle.h"

namespace {
constexpr double kPi = std::numbers::pi;
constexpr double kH = 0.001;
} // namespace

TEST(Monocycle, FirstControllerRunIsOnTheThirdStep) {
  TMonocycle m(1.0, 0.0, 3);
  EXPECT_EQ(m.State[0], kPi / 6);
  m.Step(kH);
  m.Step(kH);
  EXPECT_EQ(m.Ce, 0);
  EXPECT_EQ(m.CtrlCountdown, 1);
  m.Step(kH);
  const double e = m.Av - m.State[0];
  EXPECT_DOUBLE_EQ(m.Ce, -(m.Kp * e));
  EXPECT_DOUBLE_EQ(m.ErrIntegral, m.Ki * e);
  EXPECT_EQ(m.ErrPrev, e);
  EXPECT_EQ(m.CtrlCountdown, 3);
  // Left alone, the controller brings the rod upright.
  for (int k = 0; k < 3000; ++k)
    m.Step(kH);
  EXPECT_LT(std::fabs(m.State[0]), 0.05);
}

TEST(BalancingController, IntegralGrowsOnlyWhileTheUnclampedTorqueIsWithinItsBound) {
  struct TCase {
    double theta;
    bool grows;
  };
  // Kp = 5: an error of 0.7 rad asks 3.5 N m, above the bound of 3.
  const TCase cases[] = {{0.1, true}, {-0.5, true}, {0.7, false}, {-0.7, false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.theta);
    TMonocycle m(0, 0, 3);
    TBicycle b(0, 0, 4);
    m.State[0] = b.State[0] = c.theta;
    m.CtrlCountdown = b.CtrlCountdown = 1;
    m.ErrIntegral = b.ErrIntegral = 0.01;
    m.Step(kH);
    b.Step(kH);
    const double em = -m.State[0], eb = -b.State[0];
    EXPECT_DOUBLE_EQ(m.Ce, -(5 * em + 0.01));
    EXPECT_DOUBLE_EQ(b.Torque1, -(5 * eb + 0.01));
    EXPECT_EQ(b.Torque2, b.Torque1);
    EXPECT_EQ(std::fabs(m.Ce) > m.CeMax, !c.grows); // applied as computed, not clamped
    EXPECT_DOUBLE_EQ(m.ErrIntegral, c.grows ? 0.01 + 0.3 * em : 0.01);
    EXPECT_DOUBLE_EQ(b.ErrIntegral, c.grows ? 0.01 + 0.3 * eb : 0.01);
  }
}

TEST(Monocycle, UnheldRodFallsPastTheTipContactAndThenStaysDown) {
  TMonocycle m(0, 0, 3);
  m.ControllerOn = false;
  m.Ce = 0;
  m.State[3] = 0.2;
  for (int k = 0; k < 2000; ++k)
    m.Step(kH);
  const double theta = m.State[0];
  EXPECT_LE(std::cos(theta) * 0.15 - 0.01, -0.05);
  EXPECT_NEAR(theta, std::acos(-0.04 / 0.15), 0.05); // about 105.5 degrees
  const double rate = m.State[1];
  const double v = std::fabs(m.State[3]);
  for (int k = 0; k < 100; ++k)
    m.Step(kH);
  EXPECT_EQ(m.State[0], theta);
  EXPECT_EQ(m.State[1], rate);
  EXPECT_LT(std::fabs(m.State[3]), v); // only rolling friction left on the wheel
}

TEST(Monocycle, SpeedIsTheWheelsRollingRate) {
  TMonocycle m(1.0, 2.0, 3);
  m.ControllerOn = false;
  m.State[0] = 0;
  m.State[3] = 0.05;
  m.Step(1e-9);
  EXPECT_NEAR(m.Vit, 1.0, 1e-6);
  EXPECT_EQ(m.PosX, 1.0);
  EXPECT_GT(m.PosY, 2.0);
  EXPECT_LT(std::fabs(m.Wheel->Phi), 2 * kPi);
}

TEST(Bicycle, FallenRodRestsAtTheContactAngleOnItsSide) {
  const double contact = std::acos((0.01 - 0.05) / 0.25);
  EXPECT_NEAR(contact * 180 / kPi, 99.2, 0.05);
  for (double side : {1.0, -1.0}) {
    SCOPED_TRACE(side);
    TBicycle b(0, 0, 4);
    b.ControllerOn = false;
    b.State[0] = side * 1.8;
    b.State[1] = side * 5;
    for (int k = 0; k < 200; ++k) {
      b.Step(kH);
      ASSERT_EQ(b.State[0], side * contact) << k;
      ASSERT_EQ(b.State[1], 0);
    }
  }
}

TEST(Bicycle, UnequalTorquesTurnItAndYawFrictionStopsTheTurnOnceEqual) {
  TBicycle b(0, 0, 4);
  b.ControllerOn = false;
  b.Torque1 = 0.1;
  b.Torque2 = -0.1;
  for (int k = 0; k < 100; ++k)
    b.Step(kH);
  const double yaw_rate = b.State[3];
  EXPECT_GT(yaw_rate, 0);
  b.Torque2 = b.Torque1;
  double previous = yaw_rate;
  for (int k = 0; k < 300; ++k) {
    b.Step(kH);
    ASSERT_LT(std::fabs(b.State[3]), std::fabs(previous)) << k;
    previous = b.State[3];
  }
  EXPECT_LT(std::fabs(b.State[3]), 0.01 * yaw_rate);
}

TEST(Bicycle, UnderItsControllerItGoesStraightAlongY) {
  TBicycle b(1.5, 0.5, 4);
  for (int k = 0; k < 3000; ++k)
    b.Step(kH);
  EXPECT_EQ(b.State[2], 0);
  EXPECT_EQ(b.PosX, 1.5);
  EXPECT_NE(b.PosY, 0.5);
  EXPECT_LT(std::fabs(b.State[0]), 0.05);
}

TEST(Bicycle, StandingStillHasNoGroundFrictionAndNoDivision) {
  TBicycle b(0, 0, 4);
  double in[8] = {0.3, 0, 0.4, 0, 0, 0, 0, 0};
  double out[8];
  b.Derivatives(out, in);
  EXPECT_EQ(b.Vit, 0);
  for (double d : out)
    EXPECT_TRUE(std::isfinite(d));
  // With no speed only the forward term moves it, along (sin psi, cos psi).
  EXPECT_DOUBLE_EQ(out[5] / out[7], std::tan(0.4));
}

namespace {

// Runs a robot by hand (no controller) over `duration` with step h and returns
// its state.
template <class T, int N> std::array<double, N> RunByHand(double h, double duration, auto set_up) {
  T robot(0, 0, 0);
  robot.ControllerOn = false;
  set_up(robot);
  const int steps = static_cast<int>(std::lround(duration / h));
  for (int k = 0; k < steps; ++k)
    robot.Step(h);
  std::array<double, N> s;
  for (int i = 0; i < N; ++i)
    s[i] = robot.State[i];
  return s;
}

template <int N> double Distance(const std::array<double, N>& a, const std::array<double, N>& b) {
  double d = 0;
  for (int i = 0; i < N; ++i)
    d = std::max(d, std::fabs(a[i] - b[i]));
  return d;
}

} // namespace

TEST(Balancing, RungeKuttaStepsAreFourthOrder) {
  // Steps small against the fast tilt-friction time constants (about 2 ms and 5 ms),
  // so that the error is in its asymptotic regime.
  const double T = 0.2;
  auto mono = [](TMonocycle& m) {
    m.Ce = 0.9;
    m.State[3] = 0.1;
  };
  auto bike = [](TBicycle& b) {
    b.Torque1 = 0.6;
    b.Torque2 = 0.3;
    b.State[5] = 0.05;
    b.State[7] = 0.1;
  };
  {
    const double h = 5e-4;
    const auto ref = RunByHand<TMonocycle, 4>(h / 64, T, mono);
    const double e1 = Distance<4>(RunByHand<TMonocycle, 4>(h, T, mono), ref);
    const double e2 = Distance<4>(RunByHand<TMonocycle, 4>(h / 2, T, mono), ref);
    EXPECT_NEAR(e1 / e2, 16, 3) << e1 << " " << e2;
  }
  {
    const double h = 1e-3;
    const auto ref = RunByHand<TBicycle, 8>(h / 64, T, bike);
    const double e1 = Distance<8>(RunByHand<TBicycle, 8>(h, T, bike), ref);
    const double e2 = Distance<8>(RunByHand<TBicycle, 8>(h / 2, T, bike), ref);
    EXPECT_NEAR(e1 / e2, 16, 3) << e1 << " " << e2;
  }
}
