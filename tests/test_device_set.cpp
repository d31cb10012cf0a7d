// The window's start-up state: the device set, the selector, the camera and the
// controller's defaults.
#include <gtest/gtest.h>

#include <numbers>

#include "models/linear/mrvlin.h"
#include "models/linear/mslin.h"
#include "models/linear/rail.h"
#include "models/linear/rail_aimant.h"
#include "models/robots/robot2.h"
#include "models/robots/robot4.h"
#include "test_support.h"

TEST(DeviceSet, NineDevicesInOrderWithTheirLinks) {
  TFormFixture f;
  TGL_Form& form = *f.form;
  ASSERT_EQ(form.NbRobots, 9);
  ASSERT_EQ(form.Robots->size(), 9u);
  const char* classes[] = {"TRobot4", "TRobotK", "TRobot4",  "TMonocycle",  "TBicycle",
                           "TRail",   "TMRVlin", "TRailAimant", "TMSlin"};
  const int codes[] = {4, 1, 4, 3, 5, 7, 6, 9, 8};
  const double x0[] = {-1.0, -1.0, -0.5, 1.0, 1.5, 0.0, 0.2, -1.0, -1.5};
  const double y0[] = {-1.0, -1.5, -0.5, 0.0, 0.5, 1.0, 1.0, 1.0, 1.0};
  for (int i = 0; i < 9; ++i) {
    SCOPED_TRACE(i);
    const TRobot& r = f.Device(i);
    EXPECT_STREQ(r.ClassName(), classes[i]);
    EXPECT_EQ(r.TypeCode, codes[i]);
    EXPECT_EQ(r.Index, i);
    EXPECT_EQ(r.PosX0, x0[i]);
    EXPECT_EQ(r.PosY0, y0[i]);
    EXPECT_EQ(r.Selected, i == 8);
    EXPECT_FALSE(r.AutoMode);
  }
  EXPECT_EQ(f.Device(1).Theta, -2 * std::numbers::pi / 3);
  EXPECT_EQ(f.Device(1).Theta0, -2.0943951023931953);
  EXPECT_EQ(f.Device(2).Theta, std::numbers::pi / 2);
  EXPECT_EQ(f.Device(2).Theta0, std::numbers::pi / 2);

  EXPECT_EQ(static_cast<TRobot*>(form.RailPtr), &f.Device(5));
  EXPECT_EQ(static_cast<TRobot*>(form.MrvPtr), &f.Device(6));
  EXPECT_EQ(static_cast<TRobot*>(form.AimantPtr), &f.Device(7));
  EXPECT_EQ(static_cast<TRobot*>(form.MsPtr), &f.Device(8));
  EXPECT_EQ(static_cast<TRobot*>(form.DemoRobot), &f.Device(2));
  EXPECT_EQ(GL_Form, static_cast<TFormShared*>(&form));

  // The reference robot stands outside the set.
  ASSERT_NE(form.RefRobot, nullptr);
  EXPECT_EQ(form.RefRobot->Index, -1);
  EXPECT_EQ(form.RefRobot->TypeCode, 2);
  for (const TRobot* r : *form.Robots) EXPECT_NE(r, form.RefRobot);
}

TEST(DeviceSet, SelectorListsEveryDeviceWithItsTypeText) {
  TFormFixture f;
  const std::vector<std::string> expected = {
      "0 : Robot4",     "1 : RobotK", "2 : Robot4",      "3 : Monocycle", "4 : Bicycle",
      "5 : Rail",       "6 : MRVlin", "7 : RailAimant", "8 : MSlin"};
  EXPECT_EQ(f.form->CBListe.Items, expected);
  EXPECT_EQ(f.form->CBListe.ItemIndex, 8);
  EXPECT_EQ(f.form->RobSel, 8);
}

TEST(DeviceSet, UnknownTypeCodesReadAsRobotQuestionMark) {
  EXPECT_STREQ(TypeCodeText(0), " : Robot ?");
  EXPECT_STREQ(TypeCodeText(10), " : Robot ?");
  EXPECT_STREQ(TypeCodeText(-1), " : Robot ?");
  EXPECT_STREQ(TypeCodeText(2), " : Robot2");
}

TEST(DeviceSet, ControllerAndCameraDefaults) {
  TFormFixture f;
  const TGL_Form& form = *f.form;
  EXPECT_EQ(form.SimTime, 0);
  EXPECT_EQ(form.Dt, 0.01);
  EXPECT_EQ(form.Fs, 1.0);
  EXPECT_EQ(form.MotorScale, 1.0);
  EXPECT_FALSE(form.Timer1.Enabled);
  EXPECT_EQ(form.Timer1.Interval, 10);
  EXPECT_EQ(form.SBtimer.Position, 10);
  EXPECT_EQ(form.SBfs.Position, 10);
  EXPECT_EQ(form.SBfs.Min, 1);
  EXPECT_EQ(form.xv, -1.5);
  EXPECT_EQ(form.zv, -1.0);
  EXPECT_EQ(form.yv, 0.015);
  EXPECT_EQ(form.zpos, 0.28);
  EXPECT_EQ(form.yrot, 0);
  EXPECT_EQ(form.xrot, 4.0);
  EXPECT_EQ(form.CamStep, 0.05000000074505806); // a single-precision 0.05, widened
  EXPECT_EQ(form.DemoLen1, 300);
  EXPECT_EQ(form.DemoLen2, 900);
  EXPECT_EQ(form.DemoLen3, 1500);
  EXPECT_EQ(form.DemoW2, std::numbers::pi / 900);
  EXPECT_EQ(form.DemoW3, 3 * std::numbers::pi / 1500);
  EXPECT_EQ(form.ToothWidth, 0.008);
  EXPECT_EQ(form.RailWidth, 0.03);
  EXPECT_FALSE(form.AllAuto || form.DemoMode || form.LogOn || form.RightDrag || form.LeftDrag ||
               form.ShowDiagonals || form.Recording);
  ASSERT_EQ(form.StatusBar.Panels.size(), 2u);
  EXPECT_EQ(form.StatusBar.Panels[0].Width, 650);
  EXPECT_EQ(form.StatusBar.Panels[1].Width, 100);
  EXPECT_EQ(form.StatusBar.Panels[1].Text, "Normal");
}

TEST(DeviceSet, BaseDeviceResetRestoresThePoseAndClearsContactFlags) {
  TRobot r(0.5, -0.25, 3);
  EXPECT_EQ(r.PosX, 0.5);
  EXPECT_EQ(r.PosY, -0.25);
  EXPECT_EQ(r.RecoilTime, 0); // initialised, unlike a bare field would be
  EXPECT_EQ(r.RecoilDuration, 1.0);
  EXPECT_EQ(r.Scale, 1.0);
  r.Theta0 = 1.0;
  r.PosX = r.PosY = r.VitX = r.VitY = r.Vit = r.Omega = 7;
  r.InContact = r.CollisionPending = r.Recoiling = true;
  r.AutoMode = true;
  r.Reset();
  EXPECT_EQ(r.PosX, 0.5);
  EXPECT_EQ(r.PosY, -0.25);
  EXPECT_EQ(r.Theta, 1.0);
  EXPECT_EQ(r.VitX + r.VitY + r.Vit + r.Omega, 0);
  EXPECT_FALSE(r.InContact || r.CollisionPending || r.Recoiling);
  EXPECT_TRUE(r.AutoMode); // not part of a reset
}

TEST(DeviceSet, ClosingTheWindowReleasesTheGlobal) {
  {
    TFormFixture f;
    EXPECT_NE(GL_Form, nullptr);
  }
  EXPECT_EQ(GL_Form, nullptr);
}
