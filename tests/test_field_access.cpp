// Fields found by their state-dump names read and write the device itself.
#include <gtest/gtest.h>

#include "models/field_access.h"
#include "models/linear/mslin.h"
#include "models/robots/bicycle.h"
#include "models/robots/robotk.h"
#include "test_support.h"

TEST(FieldAccess, FindsPlainWheelAndArrayFieldsAndWritesThrough) {
  TRobotK robot(0, 0, 1);
  const TFieldRef spin = FindField(robot, "WheelR.SpinRate");
  ASSERT_TRUE(spin);
  spin.Set(2.5);
  EXPECT_EQ(robot.WheelR->SpinRate, 2.5);
  EXPECT_EQ(robot.WheelL->SpinRate, 0); // the other wheel's field of the same name
  EXPECT_EQ(FindField(robot, "WheelL.SpinRate").Ptr, &robot.WheelL->SpinRate);

  TBicycle bike(0, 0, 4);
  const TFieldRef psi = FindField(bike, "State[2]");
  ASSERT_TRUE(psi);
  EXPECT_EQ(psi.Ptr, &bike.State[2]);
  const TFieldRef on = FindField(bike, "ControllerOn");
  ASSERT_EQ(on.Kind, TFieldRef::TKind::Bool);
  on.Set(0);
  EXPECT_FALSE(bike.ControllerOn);
  EXPECT_EQ(FindField(bike, "CtrlPeriod").Kind, TFieldRef::TKind::Int32);

  for (const char* absent : {"", "Nope", "State[8]", "WheelR", "WheelR.Nope", "SpinRate"})
    EXPECT_FALSE(FindField(bike, absent)) << absent;
}

TEST(FieldAccess, PathsFollowTheDumpOrder) {
  TFormFixture f;
  const TMSlin& ms = *f.form->Sim.MsPtr;
  const auto paths = FieldPaths([&](TFieldVisitor& v) { ms.VisitFields(v); });
  ASSERT_GE(paths.size(), 3u);
  EXPECT_EQ(paths.front(), "PosX");
  EXPECT_EQ(std::count(paths.begin(), paths.end(), "Switch[5]"), 1);
  for (const std::string& p : paths)
    EXPECT_TRUE(FindField(ms, p)) << p;

  const TFieldRef frames =
      FindField([&](TFieldVisitor& v) { f.form->VisitFields(v); }, "FrameCount");
  ASSERT_EQ(frames.Kind, TFieldRef::TKind::Float);
  EXPECT_EQ(frames.Ptr, &f.form->FrameCount);
}
