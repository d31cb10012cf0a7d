// The keyboard command map, entry by entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "models/linear/mrvlin.h"
#include "models/linear/mslin.h"
#include "models/robots/bicycle.h"
#include "models/robots/monocycle.h"
#include "models/robots/robot4.h"
#include "models/robots/robotk.h"
#include "test_support.h"

namespace {
namespace KINEMO_UNITY_ID {

constexpr std::uint16_t Num(int d) {
  return static_cast<std::uint16_t>(vk::Numpad0 + d);
}
constexpr std::uint16_t L(char c) {
  return vk::Letter(c);
}

TEST(KeyMap, CameraKeys) {
  const double s = 0.05000000074505806; // CamStep
  using F = double TGL_Form::*;
  const struct {
    const char* name;
    std::uint16_t key;
    TShiftState shift;
    bool right_drag;
    F set; // set to `value` before the key
    double value;
    F check1;
    double want1;
    F check2 = nullptr;
    double want2 = 0;
  } cases[] = {
      {"Up clamps at 0.01", vk::Up, 0, false, &TGL_Form::zpos, 0.03, &TGL_Form::zpos, 0.01},
      {"Down", vk::Down, 0, false, nullptr, 0, &TGL_Form::zpos, 0.28 + s},
      {"Left", vk::Left, 0, false, nullptr, 0, &TGL_Form::xv, -1.5 - s, &TGL_Form::zv, -1.0},
      {"Right at yrot 90", vk::Right, 0, false, &TGL_Form::yrot, 90, &TGL_Form::zv, -1.0 + s},
      {"PageUp", vk::Prior, 0, false, nullptr, 0, &TGL_Form::xv, -1.5, &TGL_Form::zv, -1.0 - s},
      {"PageDown", vk::Next, 0, false, nullptr, 0, &TGL_Form::zv, -1.0 + s},
      {"H", L('H'), 0, false, nullptr, 0, &TGL_Form::yv, 0.015 + s},
      {"N", L('N'), 0, false, nullptr, 0, &TGL_Form::yv, 0.015 - s},
      {"W", L('W'), 0, false, nullptr, 0, &TGL_Form::CamStep, s * 1.5},
      {"X", L('X'), 0, false, nullptr, 0, &TGL_Form::CamStep, s * 2 / 3},
      {"W stops at 1000", L('W'), 0, false, &TGL_Form::CamStep, 900, &TGL_Form::CamStep, 1000},
      {"X stops at 1e-4", L('X'), 0, false, &TGL_Form::CamStep, 1.2e-4, &TGL_Form::CamStep, 1e-4},
      {"Z wraps above 180", L('Z'), 0, false, &TGL_Form::xrot, 179, &TGL_Form::xrot, -179},
      {"S wraps below -180", L('S'), 0, false, &TGL_Form::xrot, -179, &TGL_Form::xrot, 179},
      {"Q from 179", L('Q'), 0, false, &TGL_Form::yrot, 179, &TGL_Form::yrot, -179},
      {"Q to exactly 180 stays", L('Q'), 0, false, &TGL_Form::yrot, 178, &TGL_Form::yrot, 180},
      {"D turns", L('D'), 0, false, nullptr, 0, &TGL_Form::yrot, -2},
      {"Ctrl+D does not turn", L('D'), ssCtrl, false, nullptr, 0, &TGL_Form::yrot, 0},
      {"dragging, Z pans forward", L('Z'), 0, true, nullptr, 0, &TGL_Form::xrot, 4, &TGL_Form::zv,
       -1.0 - s},
      {"dragging, S pans back", L('S'), 0, true, nullptr, 0, &TGL_Form::zv, -1.0 + s},
      {"dragging, Q pans left", L('Q'), 0, true, nullptr, 0, &TGL_Form::yrot, 0, &TGL_Form::xv,
       -1.5 - s},
      {"dragging, Ctrl+D pans right", L('D'), ssCtrl, true, nullptr, 0, &TGL_Form::xv, -1.5 + s},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TFormFixture f;
    TGL_Form& form = *f.form;
    form.RightDrag = c.right_drag;
    if (c.set) form.*c.set = c.value;
    f.Key(c.key, c.shift);
    EXPECT_EQ(form.*c.check1, c.want1);
    if (c.check2) {
      EXPECT_EQ(form.*c.check2, c.want2);
    }
    EXPECT_EQ(form.DemoMode, c.shift == ssCtrl); // Ctrl+D starts the demonstration
  }
}

// A minute of auto-repeat on W or X, then every camera key still moves the
// camera, by a finite amount.
TEST(KeyMap, HeldCameraStepKeysLeaveEveryCameraKeyUseful) {
  for (const char held : {'W', 'X'}) {
    SCOPED_TRACE(held);
    TFormFixture f;
    TGL_Form& form = *f.form;
    f.Key(L(held), 0, 2000);
    EXPECT_EQ(form.CamStep, held == 'W' ? 1e3 : 1e-4);
    const std::uint16_t moves[] = {vk::Down,  vk::Up,   vk::Left, vk::Right,
                                   vk::Prior, vk::Next, L('H'),   L('N')};
    for (std::uint16_t key : moves) {
      const double before[] = {form.xv, form.yv, form.zv, form.zpos};
      f.Key(key);
      const double after[] = {form.xv, form.yv, form.zv, form.zpos};
      EXPECT_TRUE(std::ranges::all_of(after, [](double v) { return std::isfinite(v); })) << key;
      EXPECT_FALSE(std::ranges::equal(before, after)) << key;
    }
  }
}

TEST(KeyMap, GlobalKeys) {
  TFormFixture f;
  f.Key(L('M'), ssCtrl);
  EXPECT_TRUE(f.form->Sim.AllAuto);
  for (const TRobot* r : f.form->Sim.Robots)
    EXPECT_TRUE(r->AutoMode);
  f.Key(L('M'), ssCtrl);
  EXPECT_FALSE(f.Device(4).AutoMode);
  f.Key(L('A'));
  EXPECT_TRUE(f.form->Timer1.Enabled);
  f.Key(L('A'));
  EXPECT_FALSE(f.form->Timer1.Enabled);
  f.Key(L('T'));
  EXPECT_TRUE(f.form->ShowDiagonals);
  f.form->Sim.SimTime = 2;
  f.Device(0).PosX = 5;
  f.Key(L('R'));
  EXPECT_EQ(f.form->Sim.SimTime, 0);
  EXPECT_EQ(f.Device(0).PosX, -1.0);
}

TEST(KeyMap, WheeledRobotCommandsWithinTheirBounds) {
  TFormFixture f;
  f.form->SelectDevice(0);
  auto& r = static_cast<TRobot4&>(f.Device(0));
  f.Key(Num(8), 0, 15);
  EXPECT_EQ(r.Traction, r.TractionMax);
  f.Key(Num(0));
  f.Key(Num(2));
  EXPECT_EQ(r.Traction, -0.1);
  f.Key(Num(4), 0, 10);
  EXPECT_EQ(r.Steer, r.SteerMax);
  f.Key(Num(6), 0, 20);
  EXPECT_EQ(r.Steer, -r.SteerMax);
  f.Key(Num(5));
  EXPECT_EQ(r.Steer, 0);
  f.Key(L('M'));
  EXPECT_TRUE(r.AutoMode);
  EXPECT_FALSE(f.Device(2).AutoMode); // only the selected device

  f.form->SelectDevice(1);
  auto& k = static_cast<TRobotK&>(f.Device(1));
  f.Key(Num(7), 0, 50);
  EXPECT_EQ(k.WheelL->SpinRate, k.SpinMax);
  f.Key(Num(3));
  EXPECT_EQ(k.WheelR->SpinRate, -0.25);
  f.Key(Num(5)); // both wheels to their mean
  EXPECT_EQ(k.WheelL->SpinRate, (10 - 0.25) * 0.5);
  EXPECT_EQ(k.WheelR->SpinRate, k.WheelL->SpinRate);
  f.Key(Num(4));
  EXPECT_EQ(k.WheelL->SpinRate, 0);
  f.Key(Num(6));
  EXPECT_EQ(k.WheelR->SpinRate, 0);
}

TEST(KeyMap, BalancingRobotsTorqueOrSetPointDependingOnTheController) {
  TFormFixture f;
  f.form->SelectDevice(3);
  auto& m = static_cast<TMonocycle&>(f.Device(3));
  f.Key(Num(8));
  EXPECT_EQ(m.Av, std::numbers::pi / 30);
  f.Key(L('G')); // off: torque zeroed
  EXPECT_FALSE(m.ControllerOn);
  EXPECT_EQ(m.Ce, 0);
  f.Key(Num(8), 0, 2);
  EXPECT_DOUBLE_EQ(m.Ce, 0.2);
  f.Key(L('G')); // on again: the torque is left as it was
  EXPECT_DOUBLE_EQ(m.Ce, 0.2);
  f.Key(Num(2), 0, 20);
  EXPECT_EQ(m.Av, -m.AvMax);

  f.form->SelectDevice(4);
  auto& b = static_cast<TBicycle&>(f.Device(4));
  f.Key(L('G'));
  f.Key(Num(9));
  f.Key(Num(1));
  EXPECT_DOUBLE_EQ(b.Torque2, 0.1);
  EXPECT_DOUBLE_EQ(b.Torque1, -0.1);
  f.Key(Num(8)); // set-point keys do nothing in manual mode
  EXPECT_EQ(b.Av, 0);
  f.Key(Num(4));
  f.Key(Num(6));
  EXPECT_EQ(b.Torque1 + b.Torque2, 0);
}

TEST(KeyMap, LinearMotorKeys) {
  TFormFixture f; // the default selection is the synchronous carriage
  TMSlin& m = *f.form->Sim.MsPtr;
  f.Key(Num(8), 0, 30);
  EXPECT_EQ(m.CurrentCmd, m.CurrentMax);
  f.Key(Num(5));
  EXPECT_EQ(m.CurrentCmd, 0);
  f.Key(L('G'));
  EXPECT_TRUE(m.ControllerOn);
  f.Key(Num(6));
  EXPECT_EQ(m.PendOmega, 100);
  f.Key(Num(4));
  EXPECT_EQ(m.PendOmega, -100);
  m.VitX = 3;
  f.Key(L('E'));
  EXPECT_FALSE(m.DynamicsOn);
  EXPECT_EQ(m.VitX, 0);

  f.form->SelectDevice(6);
  TMRVlin& r = *f.form->Sim.MrvPtr;
  f.Key(L('G'));
  EXPECT_FALSE(r.SupplyOn);
  r.VitX = 1;
  f.Key(L('E'));
  EXPECT_FALSE(r.DynamicsOn);
  EXPECT_EQ(r.VitX, 0);

  f.form->SelectDevice(5); // the rail has no keys
  for (std::uint16_t k : {L('M'), L('G'), L('E'), Num(8), Num(7)})
    f.Key(k);
  EXPECT_FALSE(f.Device(5).AutoMode);
  EXPECT_TRUE(m.ControllerOn);
  EXPECT_FALSE(r.SupplyOn);
}

TEST(KeyMap, EveryKeyRedrawsWhilePausedButNotWhileRunning) {
  TFormFixture f;
  f.form->StatusBar.Panels[0].Text.clear();
  f.Key(L('H')); // paused: the change is drawn at once, status line included
  EXPECT_FALSE(f.form->StatusText().empty());
  f.form->AnimateClick();
  f.form->StatusBar.Panels[0].Text.clear();
  f.Key(L('H')); // running: the next tick draws
  EXPECT_TRUE(f.form->StatusText().empty());
}

} // namespace KINEMO_UNITY_ID
} // namespace
