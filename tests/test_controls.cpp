// The control models and the window commands that drive them.
#include <gtest/gtest.h>

#include "test_support.h"

TEST(TimerSchedule, FiresOncePerIntervalAndNeverQueuesBehindASlowHandler) {
  TTimer timer{true, 10};
  TTimerSchedule s;
  EXPECT_FALSE(s.Due(timer, 0)); // arming
  EXPECT_FALSE(s.Due(timer, 9));
  EXPECT_TRUE(s.Due(timer, 10));
  // A handler that took 55 ms: one event is due, not five.
  EXPECT_TRUE(s.Due(timer, 65));
  EXPECT_FALSE(s.Due(timer, 66));
  EXPECT_FALSE(s.Due(timer, 74));
  EXPECT_TRUE(s.Due(timer, 75));
}

TEST(TimerSchedule, ZeroIntervalOrDisabledDeliversNothingAndResumesCleanly) {
  TTimer timer{true, 0};
  TTimerSchedule s;
  for (long long t = 0; t < 100; ++t) EXPECT_FALSE(s.Due(timer, t));
  timer.Interval = 10;
  EXPECT_FALSE(s.Due(timer, 100)); // re-armed, not overdue
  EXPECT_TRUE(s.Due(timer, 110));
  timer.Enabled = false;
  EXPECT_FALSE(s.Due(timer, 200));
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
  EXPECT_EQ(changes, 1);
  bar.SetPosition(500);
  EXPECT_EQ(bar.Position, 100);
  EXPECT_EQ(changes, 2);
}

TEST(WindowCommands, TimerBarSetsThePeriodButNeverDtOrTheDevices) {
  TFormFixture f;
  f.form->SBtimer.SetPosition(0);
  EXPECT_EQ(f.form->Timer1.Interval, 0);
  f.form->SBtimer.SetPosition(100);
  EXPECT_EQ(f.form->Timer1.Interval, 100);
  EXPECT_EQ(f.form->Dt, 0.01);
  EXPECT_EQ(f.form->SimTime, 0);
}

TEST(WindowCommands, SupplyFrequencyBarStepsByATenthAndNeverReachesZero) {
  TFormFixture f;
  f.form->SBfs.SetPosition(0);
  EXPECT_EQ(f.form->Fs, 0.1);
  f.form->SBfs.SetPosition(100);
  EXPECT_EQ(f.form->Fs, 10.0);
}

TEST(WindowCommands, AnimateTogglesTheTimerAndResetRestartsTimeAndDevices) {
  TFormFixture f;
  f.form->AnimateClick();
  EXPECT_TRUE(f.form->Timer1.Enabled);
  f.form->SimTime = 3;
  f.Device(0).PosX = 42;
  f.form->Dt = 0.02;
  f.form->ResetrobotsClick();
  EXPECT_EQ(f.form->SimTime, 0);
  EXPECT_EQ(f.Device(0).PosX, -1.0);
  EXPECT_EQ(f.form->Dt, 0.02);
  EXPECT_TRUE(f.form->Timer1.Enabled);
  f.form->AnimateClick();
  EXPECT_FALSE(f.form->Timer1.Enabled);
}

TEST(WindowCommands, ComboSelectionMovesTheSelectedFlag) {
  TFormFixture f;
  f.form->CBListe.ItemIndex = 2;
  f.form->CBListeSelect();
  EXPECT_EQ(f.form->RobSel, 2);
  int selected = 0;
  for (const TRobot* r : *f.form->Robots) selected += r->Selected;
  EXPECT_EQ(selected, 1);
  EXPECT_TRUE(f.Device(2).Selected);
}

TEST(RobotSelectionDialog, AcceptsIndicesInRangeAndRefusesOthersWithAMessage) {
  struct TCase {
    std::string entry;
    int expected_sel;
    std::string message;
  };
  const TCase cases[] = {
      {"8", 8, ""},
      {"0", 0, ""},
      {"9", 8, "Valeur entrée en dehors des limites"},
      {"-1", 8, "Valeur entrée en dehors des limites"},
      {"abc", 8, "'abc' n'est pas une valeur entière correcte"},
      {"", 8, "'' n'est pas une valeur entière correcte"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.entry);
    TFormFixture f;
    f.AnswerOk([&](TGL_Form& form) {
      EXPECT_EQ(form.DialogRobSel.IDC_EDITRobSel, "8"); // filled from RobSel
      form.DialogRobSel.IDC_EDITRobSel = c.entry;
    });
    f.form->SelectRobot1Click();
    EXPECT_EQ(f.form->RobSel, c.expected_sel);
    EXPECT_TRUE(f.Device(c.expected_sel).Selected);
    EXPECT_EQ(f.form->CBListe.ItemIndex, 8); // the selector does not follow the dialog
    if (c.message.empty()) {
      EXPECT_TRUE(f.tk.Messages.empty());
    } else {
      ASSERT_EQ(f.tk.Messages.size(), 1u);
      EXPECT_EQ(f.tk.Messages[0].Text, c.message);
    }
  }
}

TEST(RobotSelectionDialog, CancelChangesNothing) {
  TFormFixture f;
  f.tk.AnswerDialog = [&](TDialogId) {
    f.form->DialogRobSel.IDC_EDITRobSel = "3";
    return TModalResult::Cancel;
  };
  f.form->SelectRobot1Click();
  EXPECT_EQ(f.form->RobSel, 8);
  EXPECT_TRUE(f.tk.Messages.empty());
}
