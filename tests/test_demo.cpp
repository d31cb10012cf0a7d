// The demonstration: start and stop, the camera programme's cycle and its edges.
// The runs themselves are pinned by the golden determinism test.
#include <gtest/gtest.h>

#include <numbers>

#include "models/robots/robot4.h"
#include "test_support.h"

TEST(Demonstration, OnlyTheKeyboardStartSetsEveryAutoModeAndStoppingChangesNothingElse) {
  for (bool keyboard : {false, true}) {
    SCOPED_TRACE(keyboard ? "Ctrl+D" : "menu");
    TFormFixture f;
    if (keyboard)
      f.Key(vk::Letter('D'), ssCtrl);
    else
      f.form->ModeDmo1Click();
    EXPECT_TRUE(f.form->Timer1.Enabled);
    for (const TRobot* r : f.form->Sim.Robots)
      EXPECT_EQ(r->AutoMode, keyboard) << r->Index;
    f.Ticks(50);
    const double xv = f.form->xv, yrot = f.form->yrot, traction = f.form->Sim.DemoRobot->Traction;
    f.Key(vk::Letter('D'), ssCtrl);
    EXPECT_FALSE(f.form->DemoMode);
    EXPECT_TRUE(f.form->Timer1.Enabled);
    EXPECT_EQ(f.form->xv, xv);
    EXPECT_EQ(f.form->yrot, yrot);
    EXPECT_EQ(f.form->Sim.DemoRobot->Traction, traction);
  }
}

TEST(Demonstration, TheTenPhasesLast7800TicksAndTickAndResetKeepTheirPlace) {
  TFormFixture f;
  f.form->ModeDmo1Click();
  f.Ticks(10);
  EXPECT_EQ(f.form->DemoPhase, 9);
  EXPECT_EQ(f.form->DemoStep, 890);
  f.form->ResetrobotsClick();
  EXPECT_EQ(f.form->DemoPhase, 9);
  EXPECT_EQ(f.form->DemoStep, 890);
  int steps = 0;
  auto until_phase = [&](int phase) {
    while (f.form->DemoPhase != phase && steps < 20000) {
      f.form->DemoCameraStep();
      ++steps;
    }
  };
  until_phase(0);
  steps = 0;
  until_phase(9);
  until_phase(0);
  EXPECT_EQ(steps, 7800);
}

TEST(Demonstration, AzimuthErrorOfExactly180IsNotWrapped) {
  TFormFixture f;
  f.form->DemoMode = true;
  f.form->DemoPhase = 3; // follow the robot; target -Theta in degrees = -90
  f.form->DemoStep = 100;
  f.form->Sim.DemoRobot->Theta = std::numbers::pi / 2;
  f.form->yrotSmooth = -270; // error exactly +180
  f.form->DemoCameraStep();
  EXPECT_DOUBLE_EQ(f.form->yrotSmooth, -270 + 1.8);
  f.form->yrotSmooth = -270.5; // error 180.5 becomes -179.5
  f.form->DemoCameraStep();
  EXPECT_DOUBLE_EQ(f.form->yrotSmooth, -270.5 - 1.795);
}

TEST(Demonstration, OverviewTurnsWithoutWrapAndAPhaseOutsideTheProgrammeRestartsIt) {
  TFormFixture f;
  f.form->ModeDmo1Click();
  for (int k = 0; k < 900; ++k)
    f.form->DemoCameraStep();
  EXPECT_NEAR(f.form->yrot, 180, 1e-9); // 0.2 degree a tick, unwrapped
  f.form->DemoPhase = 12;
  f.form->DemoCameraStep();
  EXPECT_EQ(f.form->DemoPhase, 9);
  EXPECT_EQ(f.form->DemoStep, f.form->DemoLen2);
}
