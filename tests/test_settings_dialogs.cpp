// The settings dialogs: integration step, motor and rail.
#include <gtest/gtest.h>

#include "models/linear/mrvlin.h"
#include "models/linear/rail.h"
#include "platform/headless/actions.h"
#include "test_support.h"

TEST(OptionsDialog, IntegrationStepEntries) {
  const char* const range = "Le pas d'intégration doit être compris entre 0 et 0.05 s.";
  const struct {
    const char* entry;
    char sep;
    double expected_dt;
    const char* message; // null: none
    TModalResult answer = TModalResult::OK;
  } cases[] = {
      {"0.02", '.', 0.02, nullptr},
      {"0,05", ',', 0.05, nullptr}, // the largest step accepted
      {"0", '.', 0.0, nullptr},
      {"0.0500001", '.', 0.01, range},
      {"0,1", ',', 0.01, "Le pas d'intégration doit être compris entre 0 et 0,05 s."},
      {"1", '.', 0.01, range},
      {"1000", '.', 0.01, range},
      {"-0.01", '.', 0.01, range},
      {"abc", '.', 0.01, "'abc' n'est pas une valeur à virgule flottante correcte"},
      {"1e999", '.', 0.01, ""},
      {"nan", '.', 0.01, ""},
      {"0.02", ',', 0.02, nullptr},
      {"0,02", '.', 0.01, "'0,02' n'est pas une valeur à virgule flottante correcte"},
      {"0.5", '.', 0.01, nullptr, TModalResult::Cancel},
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
    EXPECT_EQ(f.form->Sim.Dt, c.expected_dt);
    ASSERT_EQ(f.tk.Messages.size(), c.message ? 1u : 0u);
    if (c.message && *c.message) {
      EXPECT_EQ(f.tk.Messages[0].Text, c.message);
    }
  }
}

// The command line's set:Dt= is the dialog, answered.
TEST(OptionsDialog, TheCommandLineSettingFollowsTheDialog) {
  TFormFixture f;
  auto apply = [&](const std::string& word) {
    TAction a;
    std::string error;
    ASSERT_TRUE(ParseAction(word, *f.form, a, error)) << error;
    ApplyAction(*f.form, f.tk, a);
  };
  apply("set:Dt=0.05");
  EXPECT_EQ(f.form->Sim.Dt, 0.05);
  apply("set:Dt=0.06");
  EXPECT_EQ(f.form->Sim.Dt, 0.05);
  ASSERT_EQ(f.tk.Messages.size(), 1u);
  EXPECT_EQ(f.tk.Messages[0].Caption, "Erreur");
}

TEST(MotorRailDialog, FillsFromTheDevicesAndWritesBackOnOkOnly) {
  for (TModalResult answer : {TModalResult::Cancel, TModalResult::OK}) {
    TFormFixture f;
    TRail& rail = *f.form->Sim.RailPtr;
    TMRVlin& motor = *f.form->Sim.MrvPtr;
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
