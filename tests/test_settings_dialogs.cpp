// The settings dialogs: integration step, motor and rail.
#include <gtest/gtest.h>

#include "models/linear/mrvlin.h"
#include "models/linear/rail.h"
#include "test_support.h"

TEST(OptionsDialog, IntegrationStepEntries) {
  const struct {
    const char* entry;
    char sep;
    double expected_dt;
    bool message;
    TModalResult answer = TModalResult::OK;
  } cases[] = {
      {"0.02", '.', 0.02, false},
      {"0,05", ',', 0.05, false},
      {"0", '.', 0.0, false},
      {"abc", '.', 0.01, true},
      {"-0.01", '.', 0.01, true},
      {"1e999", '.', 0.01, true},
      {"nan", '.', 0.01, true},
      {"0.02", ',', 0.01, true},
      {"0.5", '.', 0.01, false, TModalResult::Cancel},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    TFormFixture f;
    f.tk.Separator = c.sep;
    f.tk.AnswerDialog = [&](TDialogId) {
      EXPECT_EQ(f.form->DialogOptions.Editdt, c.sep == ',' ? "0,01" : "0.01");
      f.form->DialogOptions.Editdt = c.entry;
      return c.answer;
    };
    f.form->Options1Click();
    EXPECT_EQ(f.form->Dt, c.expected_dt);
    EXPECT_EQ(f.tk.Messages.size(), c.message ? 1u : 0u);
  }
}

TEST(MotorRailDialog, FillsFromTheDevicesAndWritesBackOnOkOnly) {
  for (TModalResult answer : {TModalResult::Cancel, TModalResult::OK}) {
    TFormFixture f;
    TRail& rail = *f.form->RailPtr;
    TMRVlin& motor = *f.form->MrvPtr;
    const double radius = rail.Radius;
    f.tk.AnswerDialog = [&](TDialogId) {
      TDialogOptionsMRVModel& d = f.form->DialogOptionsMRV;
      EXPECT_EQ(d.RGTypeRail, rail.RailType);
      EXPECT_TRUE(d.RBModelePhysiqueDistance); // model 3 by default
      EXPECT_FALSE(d.RBModelePhysiqueSimple);
      d.RGTypeRail = 0;
      d.RBModelePhysiqueDistance = false;
      d.RBModelePhysiqueSimpleCorrige = true;
      return answer;
    };
    f.form->OptionsMRVrail1Click();
    const bool ok = answer == TModalResult::OK;
    EXPECT_EQ(rail.RailType, ok ? 0 : 3);
    EXPECT_EQ(motor.ForceModel, ok ? 2 : 3);
    EXPECT_EQ(rail.Radius, radius); // the contact radius is not recomputed
    // No radio selected keeps the model.
    f.AnswerOk([](TGL_Form& form) {
      TDialogOptionsMRVModel& d = form.DialogOptionsMRV;
      d.RBModelePhysiqueSimple = d.RBModelePhysiqueSimpleCorrige = d.RBModelePhysiqueDistance =
          false;
    });
    f.form->OptionsMRVrail1Click();
    EXPECT_EQ(motor.ForceModel, ok ? 2 : 3);
  }
}
