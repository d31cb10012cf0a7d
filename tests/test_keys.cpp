// The keyboard command map, entry by entry.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <numbers>
#include <unistd.h>

#include "models/linear/mrvlin.h"
#include "models/linear/mslin.h"
#include "models/robots/bicycle.h"
#include "models/robots/monocycle.h"
#include "models/robots/robot4.h"
#include "models/robots/robotk.h"
#include "test_support.h"

namespace {

constexpr std::uint16_t Num(int d) {
  return static_cast<std::uint16_t>(vk::Numpad0 + d);
}
constexpr std::uint16_t L(char c) {
  return vk::Letter(c);
}

void Press(TGL_Form& form, std::uint16_t key, TShiftState shift = 0) {
  std::uint16_t k = key;
  form.FormKeyDown(k, shift);
  EXPECT_EQ(k, key); // the handler leaves the key as it is
}

struct TCameraCase {
  const char* name;
  std::uint16_t key;
  TShiftState shift;
  bool right_drag;
  std::function<void(TGL_Form&)> setup;
  std::function<void(const TGL_Form&)> check;
};

} // namespace

TEST(KeyMap, CameraKeys) {
  const double s = 0.05000000074505806;
  const TCameraCase cases[] = {
      {"Up clamps at 0.01", vk::Up, 0, false, [](TGL_Form& f) { f.zpos = 0.03; },
       [](const TGL_Form& f) { EXPECT_EQ(f.zpos, 0.01); }},
      {"Down", vk::Down, 0, false, nullptr,
       [&](const TGL_Form& f) { EXPECT_EQ(f.zpos, 0.28 + s); }},
      {"Left at yrot 0", vk::Left, 0, false, nullptr,
       [&](const TGL_Form& f) {
         EXPECT_EQ(f.xv, -1.5 - s);
         EXPECT_EQ(f.zv, -1.0);
       }},
      {"Right at yrot 90", vk::Right, 0, false, [](TGL_Form& f) { f.yrot = 90; },
       [&](const TGL_Form& f) {
         EXPECT_NEAR(f.xv, -1.5, 1e-15);
         EXPECT_EQ(f.zv, -1.0 + s);
       }},
      {"PageUp", vk::Prior, 0, false, nullptr,
       [&](const TGL_Form& f) {
         EXPECT_EQ(f.xv, -1.5);
         EXPECT_EQ(f.zv, -1.0 - s);
       }},
      {"PageDown", vk::Next, 0, false, nullptr,
       [&](const TGL_Form& f) { EXPECT_EQ(f.zv, -1.0 + s); }},
      {"H", L('H'), 0, false, nullptr, [&](const TGL_Form& f) { EXPECT_EQ(f.yv, 0.015 + s); }},
      {"N", L('N'), 0, false, nullptr, [&](const TGL_Form& f) { EXPECT_EQ(f.yv, 0.015 - s); }},
      {"W", L('W'), 0, false, nullptr, [&](const TGL_Form& f) { EXPECT_EQ(f.CamStep, s * 1.5); }},
      {"X", L('X'), 0, false, nullptr, [&](const TGL_Form& f) { EXPECT_EQ(f.CamStep, s * 2 / 3); }},
      {"Z wraps above 180", L('Z'), 0, false, [](TGL_Form& f) { f.xrot = 179; },
       [](const TGL_Form& f) { EXPECT_EQ(f.xrot, -179); }},
      {"S wraps below -180", L('S'), 0, false, [](TGL_Form& f) { f.xrot = -179; },
       [](const TGL_Form& f) { EXPECT_EQ(f.xrot, 179); }},
      {"Q from 179 gives -179", L('Q'), 0, false, [](TGL_Form& f) { f.yrot = 179; },
       [](const TGL_Form& f) { EXPECT_EQ(f.yrot, -179); }},
      {"Q to exactly 180 stays", L('Q'), 0, false, [](TGL_Form& f) { f.yrot = 178; },
       [](const TGL_Form& f) { EXPECT_EQ(f.yrot, 180); }},
      {"D turns", L('D'), 0, false, nullptr, [](const TGL_Form& f) { EXPECT_EQ(f.yrot, -2); }},
      {"Ctrl+D does not turn", L('D'), ssCtrl, false, nullptr,
       [](const TGL_Form& f) {
         EXPECT_EQ(f.yrot, 0);
         EXPECT_TRUE(f.DemoMode);
       }},
      {"right-drag Z pans forward", L('Z'), 0, true, nullptr,
       [&](const TGL_Form& f) {
         EXPECT_EQ(f.xrot, 4);
         EXPECT_EQ(f.zv, -1.0 - s);
       }},
      {"right-drag S pans back", L('S'), 0, true, nullptr,
       [&](const TGL_Form& f) { EXPECT_EQ(f.zv, -1.0 + s); }},
      {"right-drag Q pans left", L('Q'), 0, true, nullptr,
       [&](const TGL_Form& f) {
         EXPECT_EQ(f.yrot, 0);
         EXPECT_EQ(f.xv, -1.5 - s);
       }},
      {"right-drag Ctrl+D pans right and starts the demo", L('D'), ssCtrl, true, nullptr,
       [&](const TGL_Form& f) {
         EXPECT_EQ(f.xv, -1.5 + s);
         EXPECT_TRUE(f.DemoMode);
       }},
  };
  for (const TCameraCase& c : cases) {
    SCOPED_TRACE(c.name);
    TFormFixture f;
    f.form->RightDrag = c.right_drag;
    if (c.setup) c.setup(*f.form);
    Press(*f.form, c.key, c.shift);
    c.check(*f.form);
  }
}

TEST(KeyMap, GlobalKeys) {
  TFormFixture f;
  TGL_Form& form = *f.form;
  Press(form, L('M'), ssCtrl);
  EXPECT_TRUE(form.AllAuto);
  for (const TRobot* r : *form.Robots)
    EXPECT_TRUE(r->AutoMode);
  Press(form, L('M'), ssCtrl);
  for (const TRobot* r : *form.Robots)
    EXPECT_FALSE(r->AutoMode);

  Press(form, L('A'));
  EXPECT_TRUE(form.Timer1.Enabled);
  Press(form, L('A'));
  EXPECT_FALSE(form.Timer1.Enabled);

  Press(form, L('T'));
  EXPECT_TRUE(form.ShowDiagonals);

  form.SimTime = 2;
  f.Device(0).PosX = 5;
  Press(form, L('R'));
  EXPECT_EQ(form.SimTime, 0);
  EXPECT_EQ(f.Device(0).PosX, -1.0);
}

TEST(KeyMap, FourWheelRobotTractionAndSteeringWithinBounds) {
  TFormFixture f;
  f.form->SelectDevice(0);
  auto& r = static_cast<TRobot4&>(f.Device(0));
  for (int k = 0; k < 15; ++k)
    Press(*f.form, Num(8));
  EXPECT_EQ(r.Traction, r.TractionMax);
  Press(*f.form, Num(0));
  EXPECT_EQ(r.Traction, 0);
  Press(*f.form, Num(2));
  EXPECT_EQ(r.Traction, -0.1);
  for (int k = 0; k < 10; ++k)
    Press(*f.form, Num(4));
  EXPECT_EQ(r.Steer, r.SteerMax);
  Press(*f.form, Num(5));
  EXPECT_EQ(r.Steer, 0);
  for (int k = 0; k < 10; ++k)
    Press(*f.form, Num(6));
  EXPECT_EQ(r.Steer, -r.SteerMax);
  Press(*f.form, L('M'));
  EXPECT_TRUE(r.AutoMode);
  EXPECT_FALSE(f.Device(2).AutoMode); // only the selected device
}

TEST(KeyMap, RobotKWheelSpeeds) {
  TFormFixture f;
  f.form->SelectDevice(1);
  auto& r = static_cast<TRobotK&>(f.Device(1));
  for (int k = 0; k < 50; ++k)
    Press(*f.form, Num(7));
  EXPECT_EQ(r.WheelL->SpinRate, r.SpinMax);
  Press(*f.form, Num(3));
  EXPECT_EQ(r.WheelR->SpinRate, -0.25);
  Press(*f.form, Num(5));
  EXPECT_EQ(r.WheelL->SpinRate, (10 - 0.25) * 0.5);
  EXPECT_EQ(r.WheelR->SpinRate, r.WheelL->SpinRate);
  Press(*f.form, Num(4));
  EXPECT_EQ(r.WheelL->SpinRate, 0);
  Press(*f.form, Num(9));
  Press(*f.form, Num(6));
  EXPECT_EQ(r.WheelR->SpinRate, 0);
}

TEST(KeyMap, MonocycleTorqueOrSetPointDependingOnTheController) {
  TFormFixture f;
  f.form->SelectDevice(3);
  auto& r = static_cast<TMonocycle&>(f.Device(3));
  ASSERT_TRUE(r.ControllerOn);
  Press(*f.form, Num(8));
  EXPECT_EQ(r.Av, std::numbers::pi / 30);
  Press(*f.form, L('G')); // off: torque zeroed
  EXPECT_FALSE(r.ControllerOn);
  EXPECT_EQ(r.Ce, 0);
  Press(*f.form, Num(8));
  Press(*f.form, Num(8));
  EXPECT_DOUBLE_EQ(r.Ce, 0.2);
  Press(*f.form, L('G')); // on again: the torque is left as it was
  EXPECT_DOUBLE_EQ(r.Ce, 0.2);
  for (int k = 0; k < 20; ++k)
    Press(*f.form, Num(2));
  EXPECT_EQ(r.Av, -r.AvMax);
}

TEST(KeyMap, BicycleTorquesSeparatelyWhenManual) {
  TFormFixture f;
  f.form->SelectDevice(4);
  auto& r = static_cast<TBicycle&>(f.Device(4));
  Press(*f.form, L('G'));
  ASSERT_FALSE(r.ControllerOn);
  Press(*f.form, Num(9));
  Press(*f.form, Num(1));
  EXPECT_DOUBLE_EQ(r.Torque2, 0.1);
  EXPECT_DOUBLE_EQ(r.Torque1, -0.1);
  Press(*f.form, Num(8)); // set-point keys do nothing in manual mode
  EXPECT_EQ(r.Av, 0);
  Press(*f.form, Num(4));
  Press(*f.form, Num(6));
  EXPECT_EQ(r.Torque1, 0);
  EXPECT_EQ(r.Torque2, 0);
}

TEST(KeyMap, SynchronousCarriageCurrentUpToItsBound) {
  TFormFixture f; // the default selection is the synchronous carriage
  TMSlin& m = *f.form->MsPtr;
  ASSERT_FALSE(m.ControllerOn);
  for (int k = 0; k < 30; ++k)
    Press(*f.form, Num(8));
  EXPECT_EQ(m.CurrentCmd, m.CurrentMax);
  Press(*f.form, Num(5));
  EXPECT_EQ(m.CurrentCmd, 0);
  Press(*f.form, L('G'));
  EXPECT_TRUE(m.ControllerOn);
  Press(*f.form, Num(6));
  EXPECT_EQ(m.PendOmega, 100);
  Press(*f.form, Num(4));
  EXPECT_EQ(m.PendOmega, -100);
  m.VitX = 3;
  Press(*f.form, L('E'));
  EXPECT_FALSE(m.DynamicsOn);
  EXPECT_EQ(m.VitX, 0);
}

TEST(KeyMap, ReluctanceCarriageSupplyAndDynamics) {
  TFormFixture f;
  f.form->SelectDevice(6);
  TMRVlin& m = *f.form->MrvPtr;
  Press(*f.form, L('G'));
  EXPECT_FALSE(m.SupplyOn);
  m.VitX = 1;
  Press(*f.form, L('E'));
  EXPECT_FALSE(m.DynamicsOn);
  EXPECT_EQ(m.VitX, 0);
}

TEST(KeyMap, DeviceKeysOfOtherTypesDoNothing) {
  TFormFixture f;
  f.form->SelectDevice(5); // the rail has no keys
  const std::string before = [&] {
    std::string s;
    for (const TRobot* r : *f.form->Robots)
      s += std::to_string(r->AutoMode);
    return s;
  }();
  for (std::uint16_t k : {L('M'), L('G'), L('E'), L('B'), Num(8), Num(4), Num(7)})
    Press(*f.form, k);
  std::string after;
  for (const TRobot* r : *f.form->Robots)
    after += std::to_string(r->AutoMode);
  EXPECT_EQ(before, after);
  EXPECT_EQ(f.form->MsPtr->CurrentCmd, 0);
  EXPECT_TRUE(f.form->MrvPtr->SupplyOn);
}

TEST(KeyMap, EveryKeyRedrawsWhilePausedButNotWhileRunning) {
  TFormFixture f;
  f.form->StatusBar.Panels[0].Text.clear();
  Press(*f.form, L('H')); // paused: the change is drawn at once, status line included
  EXPECT_FALSE(f.form->StatusBar.Panels[0].Text.empty());
  f.form->AnimateClick();
  f.form->StatusBar.Panels[0].Text.clear();
  Press(*f.form, L('H')); // running: the next tick draws
  EXPECT_TRUE(f.form->StatusBar.Panels[0].Text.empty());
}

TEST(KeyMap, FailedLogOpeningSkipsTheFinalRedraw) {
  const auto old = std::filesystem::current_path();
  const auto dir =
      std::filesystem::temp_directory_path() / ("kinemo_keys_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "capture.dat"); // a directory: cannot be opened
  std::filesystem::current_path(dir);
  TFormFixture f;
  f.form->StatusBar.Panels[0].Text.clear();
  Press(*f.form, L('C'));
  std::filesystem::current_path(old);
  std::filesystem::remove_all(dir);
  EXPECT_FALSE(f.form->LogOn);
  EXPECT_EQ(f.tk.Messages.size(), 1u);
  EXPECT_TRUE(f.form->StatusBar.Panels[0].Text.empty());
}
