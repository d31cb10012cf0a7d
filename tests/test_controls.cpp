// The control models and the window commands that drive them.
#include <gtest/gtest.h>

#include "test_support.h"

TEST(TimerSchedule, FiresOncePerIntervalNeverQueuesAndDeliversNothingWhenOffOrAtZero) {
  TTimer timer{true, 10};
  TTimerSchedule s;
  // (time, due): arming at 0; a handler that took 55 ms makes one event due, not five.
  const std::pair<long long, bool> steps[] = {{0, false},  {9, false},  {10, true}, {65, true},
                                              {66, false}, {74, false}, {75, true}};
  for (const auto& [t, due] : steps)
    EXPECT_EQ(s.Due(timer, t), due) << t;
  timer.Interval = 0;
  for (long long t = 100; t < 200; ++t)
    EXPECT_FALSE(s.Due(timer, t));
  timer.Interval = 10;
  EXPECT_FALSE(s.Due(timer, 200)); // re-armed, not overdue
  EXPECT_TRUE(s.Due(timer, 210));
  timer.Enabled = false;
  EXPECT_FALSE(s.Due(timer, 300));
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
  EXPECT_EQ(f.form->Dt, 0.01); // the period is not the step
  f.form->SBfs.SetPosition(0); // never reaches zero
  EXPECT_EQ(f.form->Fs, 0.1);
  f.form->SBfs.SetPosition(100);
  EXPECT_EQ(f.form->Fs, 10.0);
  f.form->AnimateClick();
  f.form->SimTime = 3;
  f.Device(0).PosX = 42;
  f.form->Dt = 0.02;
  f.form->ResetrobotsClick();
  EXPECT_EQ(f.form->SimTime, 0);
  EXPECT_EQ(f.Device(0).PosX, -1.0);
  EXPECT_EQ(f.form->Dt, 0.02);
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
    EXPECT_EQ(f.form->RobSel, c.expected_sel);
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
