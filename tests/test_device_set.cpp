// The window's start-up state: the device set, the selector and the links the
// devices read through the shared settings.
#include <gtest/gtest.h>

#include <numbers>

#include "models/linear/mrvlin.h"
#include "models/linear/mslin.h"
#include "models/linear/rail.h"
#include "models/linear/rail_aimant.h"
#include "models/robots/robot2.h"
#include "models/robots/robot4.h"
#include "test_support.h"

TEST(DeviceSet, NineDevicesInOrderWithTheirLinksAndTheSelector) {
  std::unique_ptr<TFormFixture> f = std::make_unique<TFormFixture>();
  TGL_Form& form = *f->form;
  ASSERT_EQ(form.NbRobots, 9);
  ASSERT_EQ(form.Robots->size(), 9u);
  const char* classes[] = {"TRobot4", "TRobotK", "TRobot4",     "TMonocycle", "TBicycle",
                           "TRail",   "TMRVlin", "TRailAimant", "TMSlin"};
  const double x0[] = {-1.0, -1.0, -0.5, 1.0, 1.5, 0.0, 0.2, -1.0, -1.5};
  const double y0[] = {-1.0, -1.5, -0.5, 0.0, 0.5, 1.0, 1.0, 1.0, 1.0};
  for (int i = 0; i < 9; ++i) {
    SCOPED_TRACE(i);
    const TRobot& r = f->Device(i);
    EXPECT_STREQ(r.ClassName(), classes[i]);
    EXPECT_EQ(r.Index, i);
    EXPECT_EQ(r.PosX0, x0[i]);
    EXPECT_EQ(r.PosY0, y0[i]);
    EXPECT_EQ(r.Selected, i == 8);
  }
  EXPECT_EQ(f->Device(1).Theta0, -2 * std::numbers::pi / 3);
  EXPECT_EQ(f->Device(2).Theta0, std::numbers::pi / 2);
  EXPECT_EQ(form.CBListe.Items,
            (std::vector<std::string>{"0 : Robot4", "1 : RobotK", "2 : Robot4", "3 : Monocycle",
                                      "4 : Bicycle", "5 : Rail", "6 : MRVlin", "7 : RailAimant",
                                      "8 : MSlin"}));
  EXPECT_EQ(form.CBListe.ItemIndex, 8);
  EXPECT_EQ(form.RobSel, 8);
  EXPECT_STREQ(TypeCodeText(10), " : Robot ?");

  EXPECT_EQ(static_cast<TRobot*>(form.RailPtr), &f->Device(5));
  EXPECT_EQ(static_cast<TRobot*>(form.MrvPtr), &f->Device(6));
  EXPECT_EQ(static_cast<TRobot*>(form.AimantPtr), &f->Device(7));
  EXPECT_EQ(static_cast<TRobot*>(form.MsPtr), &f->Device(8));
  EXPECT_EQ(static_cast<TRobot*>(form.DemoRobot), &f->Device(2));
  // The reference robot stands outside the set.
  ASSERT_NE(form.RefRobot, nullptr);
  EXPECT_EQ(form.RefRobot->Index, -1);
  for (const TRobot* r : *form.Robots)
    EXPECT_NE(r, form.RefRobot);
  // Closing the window leaves no dangling global behind.
  EXPECT_EQ(GL_Form, static_cast<TFormShared*>(&form));
  f.reset();
  EXPECT_EQ(GL_Form, nullptr);
}

TEST(DeviceSet, SelectingADeviceMovesTheSingleSelectedFlag) {
  TFormFixture f;
  for (int sel : {2, 0, 8}) {
    f.form->CBListe.ItemIndex = sel;
    f.form->CBListeSelect();
    EXPECT_EQ(f.form->RobSel, sel);
    for (int i = 0; i < 9; ++i)
      EXPECT_EQ(f.Device(i).Selected, i == sel) << sel << " " << i;
  }
}
