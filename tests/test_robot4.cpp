// The four-wheel robot: friction, wheel rolling, steering, its automatic
// programme and the recoil after a contact met in the tick.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "models/robots/robot4.h"
#include "test_support.h"

namespace {
namespace KINEMO_UNITY_ID {

constexpr double kPi = std::numbers::pi;
constexpr double kH = 0.001;

void Drive(TRobot4& r, double speed, double direction) {
  r.VitX = speed * std::cos(direction);
  r.VitY = speed * std::sin(direction);
  r.Vit = speed;
}

TEST(Robot4, AtRestAnyTractionStartsItAlongTheHeadingWithoutFriction) {
  for (double u : {0.05, 0.5, -1.0}) {
    SCOPED_TRACE(u);
    TRobot4 r(0, 0, 0);
    r.Traction = u;
    r.Step(kH);
    EXPECT_EQ(r.FrictionX, 0);
    EXPECT_EQ(r.FrictionY, 0);
    EXPECT_NEAR(r.VitY, u / r.Mass * kH, 1e-15);
  }
}

TEST(Robot4, WheelsRollBackwardsOnlyWhenMotionIsMoreThanAQuarterTurnFromTheFacing) {
  // Facing direction is (-sin Theta, cos Theta); off_deg turns the motion from it.
  const struct {
    double theta, off_deg;
    bool forwards;
  } cases[] = {{kPi / 2, 0, true},   {kPi / 2, 60, true},   {kPi / 2, -89, true},
               {kPi / 2, 91, false}, {kPi / 2, 180, false}, {kPi / 2, -135, false},
               {0, 89, true},        {-3.0, -89, true},     {-3.0, 91, false},
               {3.1, 179, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.theta << " " << c.off_deg);
    TRobot4 r(0, 0, 0);
    r.Theta = c.theta;
    Drive(r, 0.3, c.theta + kPi / 2 + c.off_deg * kPi / 180);
    r.Step(kH);
    for (const TRoue* w : {r.WheelR.get(), r.WheelL.get(), r.WheelRL.get(), r.WheelRR.get()})
      EXPECT_EQ(w->Phi > 0, c.forwards);
  }
}

TEST(Robot4, ReversingInvertsTheTurnForTheSameSteering) {
  const struct {
    double traction, steer;
    int sign;
  } cases[] = {{0.5, 0.3, +1}, {-0.5, 0.3, -1}, {0.0, 0.3, +1}, {-0.5, -0.3, +1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.traction << " " << c.steer);
    TRobot4 r(0, 0, 0);
    Drive(r, 0.3, kPi / 2);
    r.Traction = c.traction;
    r.Steer = c.steer;
    r.Step(kH);
    EXPECT_EQ(r.Omega > 0 ? 1 : -1, c.sign);
    EXPECT_DOUBLE_EQ(std::fabs(r.Omega), r.Vit / r.Wheelbase * std::sin(0.3));
  }
}

TEST(Robot4, WhileRecoilingThePilotReversesTheCommandsSavedAtTheCollision) {
  TRobot4 r(0, 0, 0);
  r.Traction = 0.7;
  r.Steer = 0.2;
  r.OnCollision();
  r.Recoiling = true;
  r.AutoPilot(1.0);
  EXPECT_EQ(r.Traction, -0.7);
  EXPECT_EQ(r.Steer, -0.2);
}

// Robot 0 drives straight (+y) into a still obstacle put in place of device 1.
struct TCrash : TFormFixture {
  TRobot4* car;
  TCrash(bool automatic) {
    Replace(1, new TRobot(-1.0, -0.6, 1))->Radius = 0.1;
    car = static_cast<TRobot4*>(&Device(0));
    car->AutoMode = automatic;
    if (!automatic) car->Traction = 0.5;
  }
  // Ticks until `done` holds, at most `limit` ticks; returns the ticks taken.
  template <class F> int TickUntil(F done, int limit) {
    for (int k = 1; k <= limit; ++k)
      if (form->Timer1Timer(), done()) return k;
    return -1;
  }
};

TEST(Robot4, ACollisionWithoutAutoModeStopsTheTractionAfterTheRecoil) {
  TCrash c(false);
  ASSERT_GT(c.TickUntil([&] { return c.car->Recoiling; }, 300), 0);
  EXPECT_EQ(c.car->SavedTraction, 0.5);
  EXPECT_EQ(c.car->Traction, 0);
  EXPECT_FALSE(c.car->CollisionPending);
  // No new collision is raised while recoiling, so the saved command survives
  // until the recoil ends; the car, stopped against the obstacle, then meets it
  // again with no traction left.
  const int ticks = c.TickUntil([&] { return c.car->SavedTraction != 0.5; }, 300);
  EXPECT_NEAR(ticks, 100, 1);
  EXPECT_EQ(c.car->SavedTraction, 0);
  EXPECT_TRUE(c.car->Recoiling);
  EXPECT_EQ(c.car->Traction, 0);
}

TEST(Robot4, ACollisionInAutoModeBacksOffThenTheProgrammeResumes) {
  TCrash c(true);
  ASSERT_GT(c.TickUntil([&] { return c.car->Recoiling; }, 300), 0);
  const double saved = c.car->SavedTraction;
  EXPECT_EQ(saved, 1.0); // still in the first phase
  const double y_hit = c.car->PosY;
  c.TickUntil([] { return false; }, 50);
  EXPECT_EQ(c.car->Traction, -saved);
  EXPECT_LT(c.car->PosY, y_hit); // backing away
  ASSERT_GT(c.TickUntil([&] { return !c.car->Recoiling; }, 300), 0);
  c.form->Timer1Timer();
  TRobot4 reference(0, 0, 0);
  reference.AutoPilot(c.form->Sim.SimTime);
  EXPECT_EQ(c.car->Traction, reference.Traction);
  EXPECT_EQ(c.car->Steer, reference.Steer);
}

} // namespace KINEMO_UNITY_ID
} // namespace
