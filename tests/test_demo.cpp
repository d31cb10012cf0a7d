// The demonstration: start and stop, the camera programme and its cycle.
#include <gtest/gtest.h>

#include "models/linear/mrvlin.h"
#include "models/robots/robot4.h"
#include "test_support.h"

TEST(Demonstration, MenuStartRunsTheTimerAndSetsCommandsButNotAutoModes) {
  TFormFixture f;
  f.form->yrot = 12;
  f.form->MrvPtr->SupplyOn = false;
  f.form->MrvPtr->VitX = 3;
  f.form->ModeDmo1Click();
  EXPECT_TRUE(f.form->DemoMode && f.form->Timer1.Enabled && f.form->AllAuto);
  EXPECT_EQ(f.form->DemoPhase * 1000 + f.form->DemoStep, 9900);
  EXPECT_EQ(f.form->yrotSmooth, 12);
  EXPECT_EQ(f.form->DemoRobot->Traction, 0.5);
  EXPECT_EQ(f.form->DemoRobot->Steer, 0.3 * f.form->DemoRobot->SteerMax);
  EXPECT_TRUE(f.form->MrvPtr->SupplyOn && f.form->MrvPtr->DynamicsOn);
  EXPECT_EQ(f.form->MrvPtr->VitX, 0);
  for (const TRobot* r : *f.form->Robots)
    EXPECT_FALSE(r->AutoMode);
}

TEST(Demonstration, KeyboardStartAlsoSetsEveryAutoModeAndStopChangesNothingElse) {
  TFormFixture f;
  f.Key(vk::Letter('D'), ssCtrl);
  for (const TRobot* r : *f.form->Robots)
    EXPECT_TRUE(r->AutoMode);
  f.Ticks(50);
  const double xv = f.form->xv, yrot = f.form->yrot, traction = f.form->DemoRobot->Traction;
  f.Key(vk::Letter('D'), ssCtrl);
  EXPECT_FALSE(f.form->DemoMode);
  EXPECT_TRUE(f.form->Timer1.Enabled);
  for (const TRobot* r : *f.form->Robots)
    EXPECT_TRUE(r->AutoMode);
  EXPECT_EQ(f.form->xv, xv);
  EXPECT_EQ(f.form->yrot, yrot);
  EXPECT_EQ(f.form->DemoRobot->Traction, traction);
}

TEST(Demonstration, PhaseSequenceLengthsAndTheFullCycle) {
  TFormFixture f;
  f.form->ModeDmo1Click();
  // Phase 9 for 900 ticks, then 0 for 300, then 1 for 900 ...
  const int lengths[] = {300, 900, 1500, 300, 900, 300, 900, 1500, 300, 900};
  int tick = 0;
  auto run_until_phase_changes = [&] {
    const int phase = f.form->DemoPhase;
    int n = 0;
    while (f.form->DemoPhase == phase) {
      f.form->DemoCameraStep();
      ++n;
      ++tick;
    }
    return n;
  };
  EXPECT_EQ(run_until_phase_changes(), 900);
  EXPECT_EQ(f.form->DemoPhase, 0);
  EXPECT_EQ(f.form->DemoStep, 300);
  int cycle = 0;
  for (int p = 0; p < 10; ++p) {
    SCOPED_TRACE(p);
    const int n = run_until_phase_changes();
    EXPECT_EQ(n, lengths[p]);
    cycle += n;
    EXPECT_EQ(f.form->DemoPhase, (p + 1) % 10);
  }
  EXPECT_EQ(cycle, 7800);
}

TEST(Demonstration, OverviewPhasesTurnWithoutWrapAndFollowPhasesReturnToTheSmoothedAzimuth) {
  TFormFixture f;
  f.form->ModeDmo1Click();
  const double smooth = f.form->yrotSmooth;
  for (int k = 0; k < 900; ++k)
    f.form->DemoCameraStep();
  EXPECT_NEAR(f.form->yrot, 180, 1e-9); // 0.2 degree a tick, unwrapped
  EXPECT_EQ(f.form->yrotSmooth, smooth);
  f.form->DemoCameraStep(); // phase 0: yrot from the smoothed azimuth again
  EXPECT_NEAR(f.form->yrot, f.form->yrotSmooth, 1e-12);
  EXPECT_LT(std::abs(f.form->yrot), 180);
}

TEST(Demonstration, AzimuthErrorOfExactly180IsNotWrapped) {
  TFormFixture f;
  f.form->DemoMode = true;
  f.form->DemoPhase = 3; // follow the robot; target -Theta in degrees = -90
  f.form->DemoStep = 100;
  f.form->DemoRobot->Theta = std::numbers::pi / 2;
  f.form->yrotSmooth = -270; // error exactly +180
  f.form->DemoCameraStep();
  EXPECT_DOUBLE_EQ(f.form->yrotSmooth, -270 + 1.8);
  f.form->yrotSmooth = -270.5; // error 180.5 becomes -179.5
  f.form->DemoCameraStep();
  EXPECT_DOUBLE_EQ(f.form->yrotSmooth, -270.5 - 1.795);
}

TEST(Demonstration, TickRunsOneStepAndResetKeepsThePhase) {
  TFormFixture f;
  f.form->ModeDmo1Click();
  f.Ticks(10);
  EXPECT_EQ(f.form->DemoStep, 890);
  f.form->ResetrobotsClick();
  EXPECT_EQ(f.form->DemoPhase * 1000 + f.form->DemoStep, 9890);
}
