// The robot K (differential drive) and its base, the two-wheel robot.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "models/robots/robotk.h"
#include "test_support.h"

namespace {
namespace KINEMO_UNITY_ID {
constexpr double kPi = std::numbers::pi;
constexpr double kH = 0.001;

TEST(RobotK, ACollisionStopsTheWheelsAndInAutoModeBacksAlongTheArc) {
  for (bool automatic : {false, true}) {
    SCOPED_TRACE(automatic);
    TFormFixture f;
    auto* k = static_cast<TRobotK*>(&f.Device(1));
    k->Theta = 0; // facing +y, the obstacle just ahead
    f.Replace(0, new TRobot(-1.0, -1.2, 0))->Radius = 0.1;
    k->AutoMode = automatic;
    k->WheelR->SpinRate = k->WheelL->SpinRate = 6;
    for (int ticks = 0; !k->Recoiling && ticks < 300; ++ticks)
      f.form->Timer1Timer();
    ASSERT_TRUE(k->Recoiling);
    EXPECT_GT(k->SavedSpinR, 0);
    const double y_hit = k->PosY;
    f.Ticks(30);
    if (automatic) {
      EXPECT_LT(k->WheelR->SpinRate, 0);
      EXPECT_LT(k->PosY, y_hit);
    } else {
      EXPECT_EQ(k->WheelR->SpinRate, 0);
      EXPECT_EQ(k->WheelL->SpinRate, 0);
      EXPECT_EQ(k->PosY, y_hit);
    }
  }
}

TEST(Robot2, DriftsAlongWorldYWhateverItsHeadingUntilToggledOff) {
  TRobot2 r(0.5, 0.25, 3);
  r.Theta = 1.0;
  r.Step(kH);
  EXPECT_DOUBLE_EQ(r.PosY, 0.25 + 0.1 * kH);
  EXPECT_EQ(r.PosX, 0.5);
  EXPECT_DOUBLE_EQ(r.WheelR->Phi, 0.1 / 0.05 * kH);
  r.VitY = 0.1 - r.VitY; // the B key
  r.Step(kH);
  EXPECT_EQ(r.Vit, 0);
  EXPECT_DOUBLE_EQ(r.PosY, 0.25 + 0.1 * kH);
}

} // namespace KINEMO_UNITY_ID
} // namespace
