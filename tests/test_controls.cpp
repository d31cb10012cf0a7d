// The control models and the window commands that drive them.
#include <gtest/gtest.h>

#include "test_support.h"

TEST(TimerSchedule, EventsOnlyWhileEnabledWithAPeriodAndNeverQueued) {
  EXPECT_TRUE((TTimer{true, 10}).Running());
  EXPECT_FALSE((TTimer{true, 0}).Running());
  EXPECT_FALSE((TTimer{false, 10}).Running());
  // (handler time, wait for the next event): a handler that overran by five
  // periods makes one event due at once, not five.
  const TTimer timer{true, 10};
  const std::pair<long long, long long> cases[] = {{0, 10}, {3, 7}, {10, 0}, {55, 0}};
  for (const auto& [busy, wait] : cases)
    EXPECT_EQ(timer.NextDelayMs(busy), wait) << busy;
}

TEST(ScrollBar, ChangeFiresOnCodeSetPositionsOnlyWhenThePositionMoves) {
  TScrollBar bar;
  bar.Min = 1;
  bar.Max = 100;
  bar.Position = 50;
  int changes = 0;
  bar.OnChange = [&] { ++changes; };
  bar.SetPosition(50);
  EXPECT_EQ(changes, 0);
  bar.SetPosition(0); // clamped to the minimum
  EXPECT_EQ(bar.Position, 1);
  bar.SetPosition(500);
  EXPECT_EQ(bar.Position, 100);
  EXPECT_EQ(changes, 2);
}

TEST(WindowCommands, BarsSetThePeriodAndTheFrequencyAndAnimateResetKeepTheStep) {
  TFormFixture f;
  f.form->SBtimer.SetPosition(0);
  EXPECT_EQ(f.form->Timer1.Interval, 0);
  f.form->SBtimer.SetPosition(100);
  EXPECT_EQ(f.form->Timer1.Interval, 100);
  EXPECT_EQ(f.form->Sim.Dt, 0.01); // the period is not the step
  f.form->SBfs.SetPosition(0);     // never reaches zero
  EXPECT_EQ(f.form->Sim.Fs, 0.1);
  f.form->SBfs.SetPosition(100);
  EXPECT_EQ(f.form->Sim.Fs, 10.0);
  f.form->AnimateClick();
  f.form->Sim.SimTime = 3;
  f.Device(0).PosX = 42;
  f.form->Sim.Dt = 0.02;
  f.form->ResetrobotsClick();
  EXPECT_EQ(f.form->Sim.SimTime, 0);
  EXPECT_EQ(f.Device(0).PosX, -1.0);
  EXPECT_EQ(f.form->Sim.Dt, 0.02);
  EXPECT_TRUE(f.form->Timer1.Enabled);
}

TEST(RobotSelectionDialog, AcceptsIndicesInRangeAndRefusesOthersWithAMessage) {
  const struct {
    std::string entry;
    int expected_sel;
    std::string message;
    TModalResult answer = TModalResult::OK;
  } cases[] = {
      {"0", 0, ""},
      {"8", 8, ""},
      {"9", 8, "Valeur entrée en dehors des limites"},
      {"-1", 8, "Valeur entrée en dehors des limites"},
      {"abc", 8, "'abc' n'est pas une valeur entière correcte"},
      {"", 8, "'' n'est pas une valeur entière correcte"},
      {"3", 8, "", TModalResult::Cancel},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    TFormFixture f;
    f.tk.AnswerDialog = [&](TDialogId) {
      EXPECT_EQ(f.form->DialogRobSel.IDC_EDITRobSel, "8"); // filled from RobSel
      f.form->DialogRobSel.IDC_EDITRobSel = c.entry;
      return c.answer;
    };
    f.form->SelectRobot1Click();
    EXPECT_EQ(f.form->Sim.RobSel, c.expected_sel);
    EXPECT_TRUE(f.Device(c.expected_sel).Selected);
    EXPECT_EQ(f.form->CBListe.ItemIndex, c.expected_sel); // the list shows the selection
    std::vector<std::string> expected;
    if (!c.message.empty()) expected.push_back(c.message);
    std::vector<std::string> shown;
    for (const auto& m : f.tk.Messages)
      shown.push_back(m.Text);
    EXPECT_EQ(shown, expected);
  }
}
