// The balance controller and the two balancing robots: controller timing and
// anti-windup, the fall of the rod, yaw, and the order of their Runge-Kutta steps.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "models/balance_controller.h"
#include "models/robots/bicycle.h"
#include "models/robots/monocycle.h"

namespace {
namespace KINEMO_UNITY_ID {

constexpr double kPi = std::numbers::pi;
constexpr double kH = 0.001;

TEST(BalanceController, RunsOnEveryPeriodthStepAndResetRestartsTheCount) {
  TBalanceController c;
  c.CtrlPeriod = 3;
  c.ResetController(true);
  std::string runs;
  for (int k = 0; k < 7; ++k)
    runs += c.ControllerDue() ? 'x' : '.';
  EXPECT_EQ(runs, "..x..x.");
  c.ResetController(false);
  EXPECT_EQ(c.CtrlCountdown, 3);
}

TEST(BalanceController, IntegralGrowsOnlyWhileTheOutputIsWithinTheLimitAndIsUsedBeforeIt) {
  const struct {
    double e, integral, kd, limit;
    double out, integral_after;
  } cases[] = {
      {0.1, 0.01, 0, 3, -0.51, 0.01 + 0.3 * 0.1},
      {-0.5, 0.01, 0, 3, 2.49, 0.01 - 0.3 * 0.5},
      {0.7, 0.01, 0, 3, -3.51, 0.01}, // beyond the limit: returned as computed, integral kept
      {-0.7, 0.01, 0, 3, 3.49, 0.01},
      {-0.5, 0.5, 0, 2, 2, 0.5 - 0.3 * 0.5},               // exactly at the limit still integrates
      {0.1, 0, 1, 3, -(0.5 + 1 * (0.1 - 0.2)), 0.3 * 0.1}, // derivative on the previous error 0.2
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "e " << c.e << " integral " << c.integral);
    TBalanceController ctl;
    ctl.Kp = 5;
    ctl.Ki = 0.3;
    ctl.Kd = c.kd;
    ctl.ErrIntegral = c.integral;
    ctl.ErrPrev = 0.2;
    EXPECT_DOUBLE_EQ(ctl.ControllerOutput(c.e, c.limit), c.out);
    EXPECT_DOUBLE_EQ(ctl.ErrIntegral, c.integral_after);
    EXPECT_EQ(ctl.ErrPrev, c.e);
  }
}

TEST(Balancing, UnderTheirControllersBothStandUpFromThirtyDegrees) {
  TMonocycle m(1.0, 0.0, 3);
  TBicycle b(1.5, 0.5, 4);
  EXPECT_EQ(m.State[0], kPi / 6);
  EXPECT_EQ(b.State[0], kPi / 6);
  for (int k = 0; k < 3000; ++k) {
    m.Step(kH);
    b.Step(kH);
  }
  EXPECT_LT(std::fabs(m.State[0]), 0.05);
  EXPECT_LT(std::fabs(b.State[0]), 0.05);
  // Equal torques: the bicycle goes straight along y.
  EXPECT_EQ(b.State[2], 0);
  EXPECT_EQ(b.PosX, 1.5);
  EXPECT_NE(b.PosY, 0.5);
}

TEST(Monocycle, UnheldRodFallsPastTheTipContactAndThenStaysDown) {
  TMonocycle m(0, 0, 3);
  m.ControllerOn = false;
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

// The model as it was before the ground friction stopped following the heading.
class TBicycleBefore : public TBicycle {
public:
  using TBicycle::TBicycle;
  void Derivatives(double* out, const double* in) override {
    TBicycle::Derivatives(out, in);
    const double theta = in[0], omega = in[1], psi = in[2];
    const double m = PendulumMass, C = Torque1 + Torque2;
    double Fx = 0, Fy = 0;
    if (Vit != 0) {
      Fx = -RollFriction * Vit * in[5] / Vit;
      Fy = -RollFriction * Vit * in[7] / Vit;
    }
    const double A = -(m * L / 2) * (-std::sin(theta) * (omega * omega) +
                                     std::cos(theta) * (m * 9.81 * std::sin(theta) - C));
    out[5] = (A + Fx) / M * std::sin(psi);
    out[7] = (A + Fy) / M * std::cos(psi);
  }
};

// Both models' state words, bit for bit.
std::vector<std::uint64_t> Bits(const TBicycle& b) {
  std::vector<double> v(b.State, b.State + 8);
  v.insert(v.end(), {b.PosX, b.PosY, b.VitX, b.VitY, b.Vit, b.YawInertia, b.Torque1, b.Torque2,
                     b.ErrIntegral, b.WheelR->Phi, b.WheelL->Phi});
  std::vector<std::uint64_t> bits(v.size());
  std::memcpy(bits.data(), v.data(), v.size() * sizeof(double));
  return bits;
}

TEST(Bicycle, WhileItsTorquesStayEqualItMovesExactlyAsBefore) {
  TBicycle now(1.5, 0.5, 4);
  TBicycleBefore before(1.5, 0.5, 4);
  // Set-point steps under the controller, then equal torques by hand.
  const struct {
    int steps;
    double av;
    bool controller;
    double torque;
  } phases[] = {{3000, 0, true, 0},    {4000, 0.2, true, 0},   {4000, -0.3, true, 0},
                {2000, 0, false, 0.4}, {2000, 0, false, -1.5}, {3000, 0.1, true, 0}};
  for (const auto& p : phases) {
    for (TBicycle* b : {static_cast<TBicycle*>(&now), static_cast<TBicycle*>(&before)}) {
      b->Av = p.av;
      b->ControllerOn = p.controller;
      if (!p.controller) b->Torque1 = b->Torque2 = p.torque;
    }
    for (int k = 0; k < p.steps; ++k) {
      now.Step(kH);
      before.Step(kH);
      ASSERT_EQ(Bits(now), Bits(before)) << "step " << k << " with set-point " << p.av;
    }
  }
  EXPECT_EQ(now.State[2], 0);
  EXPECT_GT(std::fabs(now.PosY - 0.5), 0.1); // it did travel
}

// Held torques, turning or not, with the rod falling to either side: the rod's
// push on the axle is a fraction of a newton against 1 N.s/m of rolling
// friction. Friction that followed the heading once drove it to 7 km/s.
TEST(Bicycle, AnyConstantTorquesByHandKeepItsSpeedBounded) {
  const std::pair<double, double> torques[] = {{-0.1, 0}, {0, 0.1},   {0.1, -0.1}, {-0.1, 0.1},
                                               {1, 2},    {-2, -1},   {3, -3},     {-3, 3},
                                               {3, 2.9},  {-3, -2.9}, {-3, 0.5},   {2, -0.3}};
  for (const auto& [t1, t2] : torques)
    for (double side : {1.0, -1.0}) {
      SCOPED_TRACE(testing::Message() << t1 << ", " << t2 << " N.m, rod leaning " << side);
      TBicycle b(0, 0, 4);
      b.ControllerOn = false;
      b.Torque1 = t1;
      b.Torque2 = t2;
      b.State[0] = side * kPi / 6;
      double top = 0;
      for (int k = 0; k < 50000; ++k) { // 50 s
        b.Step(kH);
        top = std::max(top, b.Vit);
      }
      EXPECT_LT(top, 1.0);
      EXPECT_LT(b.Vit, 0.1); // once the rod rests only its weight pushes
    }
}

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

} // namespace KINEMO_UNITY_ID
} // namespace
