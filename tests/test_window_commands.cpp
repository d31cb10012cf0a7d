// Window commands as a user sees them: a reset shows at once while paused,
// the device list shows the selected device, and help that cannot open says
// where its page is.
#include <gtest/gtest.h>

#include <filesystem>

#include "sim/state_json.h"
#include "test_support.h"

namespace {
namespace KINEMO_UNITY_ID {

std::string Devices(TGL_Form& form) {
  std::string s;
  for (const TRobot* r : form.Sim.Robots)
    s += DeviceJson(*r);
  return s;
}

TEST(WindowCommands, ResetsRedrawAtOnceWhilePausedAndTouchNothingElse) {
  struct TCase {
    const char* Name;
    void (TGL_Form::*Handler)();
    void (TGL_Form::*WithoutRedraw)();
  } cases[] = {
      {"reset view", &TGL_Form::ResetviewClick, &TGL_Form::ResetView},
      {"reset robots", &TGL_Form::ResetrobotsClick, &TGL_Form::ResetRobots},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    for (bool running : {false, true}) {
      // The command, and the same change without a redraw, from the same
      // state (one window at a time: devices read the window they live in).
      auto run = [&](void (TGL_Form::*handler)(), int& swaps) {
        TFormFixture f;
        f.Ticks(30);
        if (!running) f.form->AnimateClick();
        const int before = f.tk.Swaps;
        (f.form.get()->*handler)();
        swaps = f.tk.Swaps - before;
        return Devices(*f.form) + std::to_string(f.form->Sim.SimTime);
      };
      int swaps = 0, none = 0;
      EXPECT_EQ(run(c.Handler, swaps), run(c.WithoutRedraw, none));
      // While running the next tick draws it.
      EXPECT_EQ(swaps, running ? 0 : 1);
    }
  }
  // The R key draws once, as every key does while paused.
  TFormFixture f;
  const int swaps = f.tk.Swaps;
  f.Key('R');
  EXPECT_EQ(f.tk.Swaps, swaps + 1);
}

TEST(WindowCommands, TheDeviceListShowsTheSelectedDevice) {
  TFormFixture f;
  f.AnswerOk([](TGL_Form& form) { form.DialogRobSel.IDC_EDITRobSel = "0"; });
  f.form->SelectRobot1Click();
  EXPECT_EQ(f.form->CBListe.ItemIndex, 0);
  f.form->CBListe.ItemIndex = 3;
  f.form->CBListeSelect();
  EXPECT_EQ(f.form->Sim.RobSel, 3);
  f.form->SelectDevice(6);
  EXPECT_EQ(f.form->CBListe.ItemIndex, 6);
  // Out of range: nothing moves.
  f.AnswerOk([](TGL_Form& form) { form.DialogRobSel.IDC_EDITRobSel = "9"; });
  f.form->SelectRobot1Click();
  EXPECT_EQ(f.form->CBListe.ItemIndex, 6);
}

TEST(WindowCommands, HelpThatCannotOpenSaysWhereThePageIs) {
  TFormFixture f;
  f.form->Aide2Click();
  ASSERT_EQ(f.tk.OpenedDocuments.size(), 1u);
  EXPECT_TRUE(f.tk.Messages.empty());

  f.tk.OpenDocumentFails = true;
  f.form->Aide2Click();
  ASSERT_EQ(f.tk.Messages.size(), 1u);
  const std::string path = f.tk.OpenedDocuments.back();
  EXPECT_TRUE(std::filesystem::path(path).is_absolute());
  EXPECT_EQ(f.tk.Messages[0].Text, "La page d'aide n'a pas pu être ouverte :\n" + path);
}

} // namespace KINEMO_UNITY_ID
} // namespace
