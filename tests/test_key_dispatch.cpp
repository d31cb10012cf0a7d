// The key map dispatched through the devices does exactly what the single
// handler with its switch on the type code did: the handler as it was is frozen
// here, and both run the same long random sessions side by side, their whole
// state dumps compared after every event.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "models/constants.h"
#include "models/linear/mrvlin.h"
#include "models/linear/mslin.h"
#include "models/robots/bicycle.h"
#include "models/robots/monocycle.h"
#include "models/robots/robot2.h"
#include "models/robots/robot4.h"
#include "models/robots/robotk.h"
#include "sim/state_json.h"
#include "test_support.h"

namespace {

void Raise(double& x, double d, double m) {
  x += d;
  if (x > m) x = m;
}

void Lower(double& x, double d, double m) {
  x -= d;
  if (x < -m) x = -m;
}

bool Numpad(std::uint16_t key, int digit) {
  return key == vk::Numpad0 + digit;
}

// The key handler before the devices took their own keys; do not edit.
void FrozenFormKeyDown(TGL_Form& f, std::uint16_t Key, TShiftState Shift) {
  const double kSetPointStep = kPi / 30;
  const bool ctrl = (Shift & ssCtrl) != 0;
  const double a = f.yrot * kPi * (1.0 / 180);
  const double s = f.CamStep;
  auto pan_left = [&] {
    f.xv -= std::cos(a) * s;
    f.zv -= std::sin(a) * s;
  };
  auto pan_right = [&] {
    f.xv += std::cos(a) * s;
    f.zv += std::sin(a) * s;
  };
  auto pan_forward = [&] {
    f.xv += std::sin(a) * s;
    f.zv -= std::cos(a) * s;
  };
  auto pan_back = [&] {
    f.xv -= std::sin(a) * s;
    f.zv += std::cos(a) * s;
  };

  if (Key == vk::Up) {
    f.zpos -= s;
    if (f.zpos < 0.01) f.zpos = 0.01;
  }
  if (Key == vk::Down) f.zpos += s;
  if (Key == vk::Left) pan_left();
  if (Key == vk::Right) pan_right();
  if (Key == vk::Prior) pan_forward();
  if (Key == vk::Next) pan_back();
  if (Key == vk::Letter('H')) f.yv += s;
  if (Key == vk::Letter('N')) f.yv -= s;
  if (Key == vk::Letter('W')) f.CamStep *= 1.5;
  if (Key == vk::Letter('X')) f.CamStep = f.CamStep * 2 / 3;
  if (!f.RightDrag) {
    if (Key == vk::Letter('Z')) {
      f.xrot += 2;
      if (f.xrot > 180) f.xrot -= 360;
    }
    if (Key == vk::Letter('S')) {
      f.xrot -= 2;
      if (f.xrot < -180) f.xrot += 360;
    }
    if (Key == vk::Letter('Q')) {
      f.yrot += 2;
      if (f.yrot > 180) f.yrot -= 360;
    }
    if (Key == vk::Letter('D') && !ctrl) {
      f.yrot -= 2;
      if (f.yrot < -180) f.yrot += 360;
    }
  } else {
    if (Key == vk::Letter('Z')) pan_forward();
    if (Key == vk::Letter('S')) pan_back();
    if (Key == vk::Letter('Q')) pan_left();
    if (Key == vk::Letter('D')) pan_right();
  }

  if (Key == vk::Letter('M') && ctrl) {
    f.Sim.AllAuto = !f.Sim.AllAuto;
    for (TRobot* r : f.Sim.Robots)
      r->AutoMode = f.Sim.AllAuto;
  }
  if (Key == vk::Letter('A')) f.AnimateClick();
  if (Key == vk::Letter('T')) {
    f.ShowDiagonals = !f.ShowDiagonals;
    f.RebuildGrid();
  }
  if (Key == vk::Letter('R')) f.ResetRobots();
  if (Key == vk::Letter('D') && ctrl) {
    f.DemoMode = !f.DemoMode;
    if (f.DemoMode) f.StartDemonstration(true);
  }

  TRobot* sel = f.Sim.Robots[f.Sim.RobSel];
  const int type = sel->TypeCode;
  if (Key == vk::Letter('M') && !ctrl &&
      (type == kTypeRobotK || type == kTypeMonocycle || type == kTypeRobot4 ||
       type == kTypeBicycle))
    sel->AutoMode = !sel->AutoMode;

  if (type == kTypeRobot2 && Key == vk::Letter('B')) {
    auto* r = static_cast<TRobot2*>(sel);
    r->VitY = 0.1 - r->VitY;
  }

  if (type == kTypeRobot4) {
    auto* r = static_cast<TRobot4*>(sel);
    if (Numpad(Key, 8)) Raise(r->Traction, 0.1, r->TractionMax);
    if (Numpad(Key, 2)) Lower(r->Traction, 0.1, r->TractionMax);
    if (Numpad(Key, 0)) r->Traction = 0;
    if (Numpad(Key, 4)) Raise(r->Steer, 0.1, r->SteerMax);
    if (Numpad(Key, 6)) Lower(r->Steer, 0.1, r->SteerMax);
    if (Numpad(Key, 5)) r->Steer = 0;
  }

  if (type == kTypeRobotK) {
    auto* r = static_cast<TRobotK*>(sel);
    double& left = r->WheelL->SpinRate;
    double& right = r->WheelR->SpinRate;
    if (Numpad(Key, 7)) Raise(left, 0.25, r->SpinMax);
    if (Numpad(Key, 1)) Lower(left, 0.25, r->SpinMax);
    if (Numpad(Key, 4)) left = 0;
    if (Numpad(Key, 9)) Raise(right, 0.25, r->SpinMax);
    if (Numpad(Key, 3)) Lower(right, 0.25, r->SpinMax);
    if (Numpad(Key, 6)) right = 0;
    if (Numpad(Key, 5)) left = right = (right + left) * 0.5;
  }

  if (type == kTypeMonocycle) {
    auto* r = static_cast<TMonocycle*>(sel);
    if (Key == vk::Letter('G')) {
      r->ControllerOn = !r->ControllerOn;
      if (!r->ControllerOn) r->Ce = 0;
    }
    if (!r->ControllerOn) {
      if (Numpad(Key, 8)) Raise(r->Ce, 0.1, r->CeMax);
      if (Numpad(Key, 2)) Lower(r->Ce, 0.1, r->CeMax);
      if (Numpad(Key, 5)) r->Ce = 0;
    } else {
      if (Numpad(Key, 8)) Raise(r->Av, kSetPointStep, r->AvMax);
      if (Numpad(Key, 2)) Lower(r->Av, kSetPointStep, r->AvMax);
      if (Numpad(Key, 5)) r->Av = 0;
    }
  }

  if (type == kTypeBicycle) {
    auto* r = static_cast<TBicycle*>(sel);
    if (Key == vk::Letter('G')) {
      r->ControllerOn = !r->ControllerOn;
      if (!r->ControllerOn) r->Torque1 = r->Torque2 = 0;
    }
    if (!r->ControllerOn) {
      if (Numpad(Key, 9)) Raise(r->Torque2, 0.1, r->TorqueMax);
      if (Numpad(Key, 3)) Lower(r->Torque2, 0.1, r->TorqueMax);
      if (Numpad(Key, 6)) r->Torque2 = 0;
      if (Numpad(Key, 7)) Raise(r->Torque1, 0.1, r->TorqueMax);
      if (Numpad(Key, 1)) Lower(r->Torque1, 0.1, r->TorqueMax);
      if (Numpad(Key, 4)) r->Torque1 = 0;
    } else {
      if (Numpad(Key, 8)) Raise(r->Av, kSetPointStep, r->AvMax);
      if (Numpad(Key, 2)) Lower(r->Av, kSetPointStep, r->AvMax);
      if (Numpad(Key, 5)) r->Av = 0;
    }
  }

  if (type == kTypeMRVlin) {
    TMRVlin* m = f.Sim.MrvPtr;
    if (Key == vk::Letter('G')) m->SupplyOn = !m->SupplyOn;
    if (Key == vk::Letter('E')) {
      m->DynamicsOn = !m->DynamicsOn;
      m->VitX = 0;
    }
    if (Key == vk::Letter('C') && !f.ToggleLog()) return;
  }

  if (type == kTypeMSlin) {
    TMSlin* m = f.Sim.MsPtr;
    if (Key == vk::Letter('G')) m->ControllerOn = !m->ControllerOn;
    if (Key == vk::Letter('E')) {
      m->DynamicsOn = !m->DynamicsOn;
      m->VitX = 0;
    }
    if (Key == vk::Letter('C') && !f.ToggleLog()) return;
    if (!m->ControllerOn) {
      if (Numpad(Key, 8)) Raise(m->CurrentCmd, 0.1, m->CurrentMax);
      if (Numpad(Key, 2)) Lower(m->CurrentCmd, 0.1, m->CurrentMax);
      if (Numpad(Key, 5)) m->CurrentCmd = 0;
    } else {
      if (Numpad(Key, 8)) Raise(m->ThetaRef, kSetPointStep, m->ThetaRefMax);
      if (Numpad(Key, 2)) Lower(m->ThetaRef, kSetPointStep, m->ThetaRefMax);
      if (Numpad(Key, 5)) m->ThetaRef = 0;
      if (Numpad(Key, 6)) m->PendOmega = 100;
      if (Numpad(Key, 4)) m->PendOmega = -100;
    }
  }

  f.RefreshViewDialog();
  if (!f.Timer1.Enabled) f.RenderScene();
}

// Every key the map reads, and a few it does not. Space is left out: it was
// free, and is now the single step.
std::vector<std::uint16_t> KeyPool() {
  std::vector<std::uint16_t> keys = {vk::Up,    vk::Down, vk::Left,   vk::Right,
                                     vk::Prior, vk::Next, vk::Return, 0x70 /* F1 */};
  for (char c = 'A'; c <= 'Z'; ++c)
    keys.push_back(vk::Letter(c));
  for (int d = 0; d <= 9; ++d)
    keys.push_back(vk::Numpad(d));
  return keys;
}

// Runs in a folder of its own: the C key writes capture.dat there, and a folder
// of that name makes the log fail to open (the C key's early return).
class KeyDispatch : public ::testing::Test {
protected:
  void SetUp() override { std::filesystem::current_path(dir_.Dir); }
  void TearDown() override { std::filesystem::current_path(old_); }
  std::filesystem::path old_ = std::filesystem::current_path();
  TScratchDir dir_;
};

TEST_F(KeyDispatch, SameStateAsTheFrozenHandlerOverRandomSessions) {
  TFormFixture frozen, now;
  const std::vector<std::uint16_t> keys = KeyPool();
  std::mt19937 rng(20240514);
  auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  auto on = [](TFormFixture& f) -> TFormFixture& { return f; };
  auto both = [&](const std::function<void(TFormFixture&)>& event) {
    event(on(frozen));
    event(on(now));
  };
  std::vector<std::uint16_t> device_keys = {vk::Letter('B'), vk::Letter('C'), vk::Letter('E'),
                                            vk::Letter('G'), vk::Letter('M')};
  for (int d = 0; d <= 9; ++d)
    device_keys.push_back(vk::Numpad(d));
  int keys_pressed = 0, early_returns = 0;
  for (int round = 0; round < 2; ++round) {
    for (int device = 0; device < frozen.form->Sim.NbRobots; ++device) {
      both([device](TFormFixture& f) { f.form->SelectDevice(device); });
      for (int n = 0; n < 120; ++n) {
        std::string what;
        const int roll = pick(100);
        if (roll < 65) {
          // One press in three is one of the devices' own keys.
          const auto& from = pick(3) == 0 ? device_keys : keys;
          const std::uint16_t key = from[static_cast<std::size_t>(pick(int(from.size())))];
          const TShiftState shift = pick(4) == 0 ? TShiftState{ssCtrl} : TShiftState{0};
          what = "key " + std::to_string(key) + (shift ? " with Ctrl" : "");
          const std::size_t messages = frozen.tk.Messages.size();
          std::uint16_t k = key;
          FrozenFormKeyDown(*on(frozen).form, k, shift);
          on(now).Key(key, shift);
          ++keys_pressed;
          if (frozen.tk.Messages.size() > messages && !frozen.form->Timer1.Enabled)
            ++early_returns; // the log failed to open while paused: nothing drawn
        } else if (roll < 82) {
          const int ticks = 1 + pick(4);
          what = std::to_string(ticks) + " ticks";
          both([ticks](TFormFixture& f) {
            for (int t = 0; t < ticks; ++t)
              if (f.form->Timer1.Running()) f.form->Timer1Timer();
          });
        } else if (roll < 86) {
          what = "pause";
          both([](TFormFixture& f) {
            if (f.form->Timer1.Enabled) f.form->AnimateClick();
          });
        } else if (roll < 91) {
          const int other = pick(frozen.form->Sim.NbRobots);
          what = "select " + std::to_string(other);
          both([other](TFormFixture& f) { f.form->SelectDevice(other); });
        } else if (roll < 95) {
          what = "right button";
          both([](TFormFixture& f) { f.form->RightDrag = !f.form->RightDrag; });
        } else {
          // The log's file name taken by a folder, or freed again.
          const bool blocked = std::filesystem::is_directory("capture.dat");
          what = blocked ? "log freed" : "log blocked";
          std::filesystem::remove_all("capture.dat");
          if (!blocked) std::filesystem::create_directory("capture.dat");
        }
        const std::string want = StateJson(*frozen.form), got = StateJson(*now.form);
        if (got != want) {
          const auto at = std::mismatch(want.begin(), want.end(), got.begin(), got.end());
          const std::size_t i = static_cast<std::size_t>(at.first - want.begin());
          const std::size_t from = i < 200 ? 0 : i - 200;
          FAIL() << "after " << what << " (device " << device << ", event " << n
                 << ") the state differs at\n  frozen: " << want.substr(from, 260)
                 << "\n  now:    " << got.substr(from, 260);
        }
      }
    }
  }
  EXPECT_GT(keys_pressed, 1200);
  EXPECT_GE(early_returns, 3) << "the C key's early return was hardly reached";
}

} // namespace
