// The settings dialogs: integration step, motor and rail.
#include <gtest/gtest.h>

#include "models/linear/mrvlin.h"
#include "models/linear/rail.h"
#include "test_support.h"

TEST(OptionsDialog, IntegrationStepEntries) {
  struct TCase {
    const char* entry;
    char sep;
    double expected_dt;
    bool message;
  };
  const TCase cases[] = {
      {"0.02", '.', 0.02, false}, {"0,05", ',', 0.05, false}, {"0", '.', 0.0, false},
      {"abc", '.', 0.01, true},   {"-0.01", '.', 0.01, true}, {"1e999", '.', 0.01, true},
      {"nan", '.', 0.01, true},   {"0.02", ',', 0.01, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.entry);
    TFormFixture f;
    f.tk.Separator = c.sep;
    f.AnswerOk([&](TGL_Form& form) {
      EXPECT_EQ(form.DialogOptions.Editdt, c.sep == ',' ? "0,01" : "0.01");
      form.DialogOptions.Editdt = c.entry;
    });
    f.form->Options1Click();
    EXPECT_EQ(f.form->Dt, c.expected_dt);
    EXPECT_EQ(f.tk.Messages.size(), c.message ? 1u : 0u);
    EXPECT_EQ(f.form->Timer1.Interval, 10); // the period is not the step
  }
}

TEST(OptionsDialog, CancelKeepsTheStep) {
  TFormFixture f;
  f.tk.AnswerDialog = [&](TDialogId) {
    f.form->DialogOptions.Editdt = "0.5";
    return TModalResult::Cancel;
  };
  f.form->Options1Click();
  EXPECT_EQ(f.form->Dt, 0.01);
}

TEST(MotorRailDialog, FillsFromTheDevicesAndWritesBackOnOk) {
  TFormFixture f;
  TRail& rail = *f.form->RailPtr;
  TMRVlin& motor = *f.form->MrvPtr;
  const double radius = rail.Radius;
  f.AnswerOk([&](TGL_Form& form) {
    EXPECT_EQ(form.DialogOptionsMRV.RGTypeRail, rail.RailType);
    EXPECT_TRUE(form.DialogOptionsMRV.RBModelePhysiqueDistance); // model 3 by default
    EXPECT_FALSE(form.DialogOptionsMRV.RBModelePhysiqueSimple);
    form.DialogOptionsMRV.RGTypeRail = 0;
    form.DialogOptionsMRV.RBModelePhysiqueDistance = false;
    form.DialogOptionsMRV.RBModelePhysiqueSimpleCorrige = true;
  });
  f.form->OptionsMRVrail1Click();
  EXPECT_EQ(rail.RailType, 0);
  EXPECT_EQ(motor.ForceModel, 2);
  EXPECT_EQ(rail.Radius, radius); // the contact radius is not recomputed
}

TEST(MotorRailDialog, NoRadioSelectedKeepsTheModelAndCancelChangesNothing) {
  TFormFixture f;
  TMRVlin& motor = *f.form->MrvPtr;
  f.AnswerOk([](TGL_Form& form) {
    form.DialogOptionsMRV.RBModelePhysiqueSimple = false;
    form.DialogOptionsMRV.RBModelePhysiqueSimpleCorrige = false;
    form.DialogOptionsMRV.RBModelePhysiqueDistance = false;
  });
  f.form->OptionsMRVrail1Click();
  EXPECT_EQ(motor.ForceModel, 3);
  const int type = f.form->RailPtr->RailType;
  f.tk.AnswerDialog = [&](TDialogId) {
    f.form->DialogOptionsMRV.RGTypeRail = (type + 1) % 4;
    f.form->DialogOptionsMRV.RBModelePhysiqueSimple = true;
    return TModalResult::Cancel;
  };
  f.form->OptionsMRVrail1Click();
  EXPECT_EQ(f.form->RailPtr->RailType, type);
  EXPECT_EQ(motor.ForceModel, 3);
}
