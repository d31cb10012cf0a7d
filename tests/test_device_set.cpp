// The window's device set: the selector, the links the devices read through the
// shared settings, and the single selected flag.
#include <gtest/gtest.h>

#include "models/linear/mrvlin.h"
#include "models/linear/mslin.h"
#include "models/linear/rail.h"
#include "models/linear/rail_aimant.h"
#include "models/robots/robot4.h"
#include "test_support.h"

TEST(DeviceSet, SelectorListsEveryDeviceAndTheLinksPointIntoTheSet) {
  auto f = std::make_unique<TFormFixture>();
  TGL_Form& form = *f->form;
  EXPECT_EQ(form.CBListe.Items,
            (std::vector<std::string>{"0 : Robot4", "1 : RobotK", "2 : Robot4", "3 : Monocycle",
                                      "4 : Bicycle", "5 : Rail", "6 : MRVlin", "7 : RailAimant",
                                      "8 : MSlin"}));
  EXPECT_EQ(form.Sim.NbRobots, static_cast<int>(form.Sim.Robots.size()));
  for (int i = 0; i < form.Sim.NbRobots; ++i)
    EXPECT_EQ(f->Device(i).Index, i);
  EXPECT_EQ(form.CBListe.ItemIndex, form.Sim.RobSel);
  EXPECT_STREQ(TypeCodeText(10), " : Robot ?");
  EXPECT_EQ(static_cast<TRobot*>(form.Sim.RailPtr), &f->Device(5));
  EXPECT_EQ(static_cast<TRobot*>(form.Sim.MrvPtr), &f->Device(6));
  EXPECT_EQ(static_cast<TRobot*>(form.Sim.AimantPtr), &f->Device(7));
  EXPECT_EQ(static_cast<TRobot*>(form.Sim.MsPtr), &f->Device(8));
  EXPECT_EQ(static_cast<TRobot*>(form.Sim.DemoRobot), &f->Device(2));
  // The reference robot stands outside the set.
  ASSERT_NE(form.RefRobot, nullptr);
  for (const TRobot* r : form.Sim.Robots)
    EXPECT_NE(r, form.RefRobot);
}

TEST(DeviceSet, SelectingADeviceMovesTheSingleSelectedFlag) {
  TFormFixture f;
  for (int sel : {8, 2, 0}) {
    if (sel != 8) {
      f.form->CBListe.ItemIndex = sel;
      f.form->CBListeSelect();
    }
    EXPECT_EQ(f.form->Sim.RobSel, sel);
    for (int i = 0; i < f.form->Sim.NbRobots; ++i)
      EXPECT_EQ(f.Device(i).Selected, i == sel) << sel << " " << i;
  }
}
