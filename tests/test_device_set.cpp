// The window's device set: the selector, the links the devices read through the
// shared settings, and the single selected flag.
#include <gtest/gtest.h>

#include "models/constants.h"
#include "models/linear/mrvlin.h"
#include "models/linear/mslin.h"
#include "models/linear/rail.h"
#include "models/linear/rail_aimant.h"
#include "models/robots/robot4.h"
#include "sim/state_json.h"
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

// A set of any registered devices: placed as the program places them, the
// carriages linked to their rails; a list that makes no set changes nothing.
TEST(DeviceSet, AnyListOfRegisteredClassesMakesASetOrIsRefusedWhole) {
  TFormFixture f;
  TGL_Form& form = *f.form;
  ASSERT_FALSE(form.SetDevices({"TRailAimant", "TMSlin", "TRobot4", "TRobot4", "TRobot4"}));
  EXPECT_EQ(form.CBListe.Items,
            (std::vector<std::string>{"0 : RailAimant", "1 : MSlin", "2 : Robot4", "3 : Robot4",
                                      "4 : Robot4"}));
  EXPECT_EQ(form.Sim.RobSel, 4);
  EXPECT_EQ(static_cast<TRobot*>(form.Sim.AimantPtr), &f.Device(0));
  EXPECT_EQ(static_cast<TRobot*>(form.Sim.MsPtr), &f.Device(1));
  EXPECT_EQ(form.Sim.RailPtr, nullptr);
  // The robots stand where the program puts its two, the third further on.
  EXPECT_EQ(std::vector<double>({f.Device(2).PosX, f.Device(3).PosX, f.Device(4).PosX}),
            std::vector<double>({-1.0, -0.5, 0.0}));
  EXPECT_EQ(f.Device(3).Theta, kPi / 2);
  const std::string before = StateJson(form);
  const struct {
    std::vector<std::string> Classes;
    const char* English;
  } refused[] = {
      {{}, "a simulation needs at least one device"},
      {{"TMSlin"}, "TMSlin runs on a TRailAimant, which the set lacks"},
      {{"TRail", "TMRVlin", "TRail"}, "a second TRail: a set holds at most one rail of each kind"},
      {{"TRobot4", "Robot4"}, "unknown device class \"Robot4\""},
      {std::vector<std::string>(65, "TRobot4"), "at most 64 devices"},
  };
  for (const auto& r : refused) {
    const TSetProblem problem = form.SetDevices(r.Classes);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem.English().rfind(r.English, 0), 0u) << problem.English();
    EXPECT_FALSE(problem.French().empty());
    EXPECT_EQ(StateJson(form), before);
  }
}
