// The two balancing robots: controller timing and anti-windup, the fall of the
// rod, yaw, and the order of their Runge-Kutta steps.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

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
  // Kp = 5: an error of 0.7 rad asks 3.5 N m, above the bound of 3.
  const struct {
    double theta;
    bool grows;
  } cases[] = {{0.1, true}, {-0.5, true}, {0.7, false}, {-0.7, false}};
  for (const auto& c : cases) {
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

// How much the error against a run at h/64 shrinks from step h to h/2, with no
// controller, over 0.2 s: 16 for a fourth-order method.
template <class T, int N> double ErrorRatio(double h, auto set_up) {
  auto run = [&](double step) {
    T robot(0, 0, 0);
    robot.ControllerOn = false;
    set_up(robot);
    for (int k = 0, n = int(std::lround(0.2 / step)); k < n; ++k)
      robot.Step(step);
    return std::vector<double>(robot.State, robot.State + N);
  };
  const auto ref = run(h / 64), a = run(h), b = run(h / 2);
  double e1 = 0, e2 = 0;
  for (int i = 0; i < N; ++i) {
    e1 = std::max(e1, std::fabs(a[i] - ref[i]));
    e2 = std::max(e2, std::fabs(b[i] - ref[i]));
  }
  return e1 / e2;
}

} // namespace

TEST(Balancing, RungeKuttaStepsAreFourthOrder) {
  // Steps small against the fast tilt-friction time constants (about 2 ms and 5 ms),
  // so that the error is in its asymptotic regime.
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
  EXPECT_NEAR((ErrorRatio<TMonocycle, 4>(5e-4, mono)), 16, 3);
  EXPECT_NEAR((ErrorRatio<TBicycle, 8>(1e-3, bike)), 16, 3);
}
