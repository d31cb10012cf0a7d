// The keyboard command map: camera, global modes, and the selected device's
// commands. Every entry is tested in turn, so one key may act in several groups.
#include <algorithm>
#include <cmath>

#include "app/gl_form.h"
#include "models/constants.h"
#include "models/linear/mrvlin.h"
#include "models/linear/mslin.h"
#include "models/robots/bicycle.h"
#include "models/robots/monocycle.h"
#include "models/robots/robot2.h"
#include "models/robots/robot4.h"
#include "models/robots/robotk.h"

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

constexpr double kSetPointStep = kPi / 30;

// Held W or X (auto-repeat) would drive the step to infinity or to zero, after
// which the camera turns NaN or stops moving: the step stays where every
// camera key still does something useful.
constexpr double kCamStepMin = 1e-4;
constexpr double kCamStepMax = 1e3;

} // namespace

void TGL_Form::FormKeyDown(std::uint16_t& Key, TShiftState Shift) {
  const bool ctrl = (Shift & ssCtrl) != 0;
  const double a = yrot * kPi * (1.0 / 180);
  const double s = CamStep;
  auto pan_left = [&] {
    xv -= std::cos(a) * s;
    zv -= std::sin(a) * s;
  };
  auto pan_right = [&] {
    xv += std::cos(a) * s;
    zv += std::sin(a) * s;
  };
  auto pan_forward = [&] {
    xv += std::sin(a) * s;
    zv -= std::cos(a) * s;
  };
  auto pan_back = [&] {
    xv -= std::sin(a) * s;
    zv += std::cos(a) * s;
  };

  // Camera.
  if (Key == vk::Up) {
    zpos -= s;
    if (zpos < 0.01) zpos = 0.01;
  }
  if (Key == vk::Down) zpos += s;
  if (Key == vk::Left) pan_left();
  if (Key == vk::Right) pan_right();
  if (Key == vk::Prior) pan_forward();
  if (Key == vk::Next) pan_back();
  if (Key == vk::Letter('H')) yv += s;
  if (Key == vk::Letter('N')) yv -= s;
  if (Key == vk::Letter('W')) CamStep = std::min(CamStep * 1.5, kCamStepMax);
  if (Key == vk::Letter('X')) CamStep = std::max(CamStep * 2 / 3, kCamStepMin);
  if (!RightDrag) {
    if (Key == vk::Letter('Z')) {
      xrot += 2;
      if (xrot > 180) xrot -= 360;
    }
    if (Key == vk::Letter('S')) {
      xrot -= 2;
      if (xrot < -180) xrot += 360;
    }
    if (Key == vk::Letter('Q')) {
      yrot += 2;
      if (yrot > 180) yrot -= 360;
    }
    if (Key == vk::Letter('D') && !ctrl) {
      yrot -= 2;
      if (yrot < -180) yrot += 360;
    }
  } else {
    // With the right button held the same letters pan instead of turning.
    if (Key == vk::Letter('Z')) pan_forward();
    if (Key == vk::Letter('S')) pan_back();
    if (Key == vk::Letter('Q')) pan_left();
    if (Key == vk::Letter('D')) pan_right();
  }

  // Global modes.
  if (Key == vk::Letter('M') && ctrl) {
    AllAuto = !AllAuto;
    for (TRobot* r : *Robots)
      r->AutoMode = AllAuto;
  }
  if (Key == vk::Letter('A')) AnimateClick();
  if (Key == vk::Letter('T')) {
    ShowDiagonals = !ShowDiagonals;
    RebuildGrid(); // otherwise the toggle would only show after a restart
  }
  if (Key == vk::Letter('R')) ResetRobots();
  if (Key == vk::Letter('D') && ctrl) {
    DemoMode = !DemoMode;
    if (DemoMode) StartDemonstration(true);
  }

  // The selected device.
  TRobot* sel = (*Robots)[RobSel];
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
    if (Key == vk::Letter('G')) MrvPtr->SupplyOn = !MrvPtr->SupplyOn;
    if (Key == vk::Letter('E')) {
      MrvPtr->DynamicsOn = !MrvPtr->DynamicsOn;
      MrvPtr->VitX = 0;
    }
    if (Key == vk::Letter('C') && !ToggleLog()) return;
  }

  if (type == kTypeMSlin) {
    if (Key == vk::Letter('G')) MsPtr->ControllerOn = !MsPtr->ControllerOn;
    if (Key == vk::Letter('E')) {
      MsPtr->DynamicsOn = !MsPtr->DynamicsOn;
      MsPtr->VitX = 0;
    }
    if (Key == vk::Letter('C') && !ToggleLog()) return;
    if (!MsPtr->ControllerOn) {
      if (Numpad(Key, 8)) Raise(MsPtr->CurrentCmd, 0.1, MsPtr->CurrentMax);
      if (Numpad(Key, 2)) Lower(MsPtr->CurrentCmd, 0.1, MsPtr->CurrentMax);
      if (Numpad(Key, 5)) MsPtr->CurrentCmd = 0;
    } else {
      if (Numpad(Key, 8)) Raise(MsPtr->ThetaRef, kSetPointStep, MsPtr->ThetaRefMax);
      if (Numpad(Key, 2)) Lower(MsPtr->ThetaRef, kSetPointStep, MsPtr->ThetaRefMax);
      if (Numpad(Key, 5)) MsPtr->ThetaRef = 0;
      if (Numpad(Key, 6)) MsPtr->PendOmega = 100;
      if (Numpad(Key, 4)) MsPtr->PendOmega = -100;
    }
  }

  RefreshViewDialog();
  if (!Timer1.Enabled) RenderScene();
}
