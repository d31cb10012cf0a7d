// The demonstration: a camera programme of ten phases that alternately follows
// the switched-reluctance carriage and the second four-wheel robot.
#include <cmath>
#include <numbers>

#include "app/gl_form.h"
#include "models/linear/mrvlin.h"
#include "models/robots/robot4.h"

namespace {

// x -> v by k: one step of an exponential approach.
void Approach(double& x, double v, double k) {
  x = x + (v - x) * k;
}

constexpr double kDeg = 180 / std::numbers::pi;

} // namespace

void TGL_Form::ModeDmo1Click() {
  DemoMode = !DemoMode;
  if (DemoMode) StartDemonstration(false);
}

void TGL_Form::StartDemonstration(bool from_keyboard) {
  Timer1.Enabled = true;
  AllAuto = true;
  if (from_keyboard)
    for (TRobot* r : *Robots)
      r->AutoMode = true;
  DemoStep = DemoLen2;
  DemoPhase = 9;
  yrotSmooth = yrot;
  DemoRobot->Traction = 0.5;
  DemoRobot->Steer = 0.3 * DemoRobot->SteerMax;
  MrvPtr->SupplyOn = true;
  MrvPtr->DynamicsOn = true;
  MrvPtr->VitX = 0;
}

void TGL_Form::DemoCameraStep() {
  const int n = DemoStep;
  auto follow = [&](const TRobot& f, double k, bool is_motor) {
    Approach(xv, f.PosX, k);
    Approach(zv, -f.PosY, k);
    const double target = is_motor ? -f.Theta * kDeg - 90 : -f.Theta * kDeg;
    double e = target - yrotSmooth;
    if (e > 180) e -= 360;
    if (e < -180) e += 360;
    yrotSmooth += 0.01 * e;
  };
  const TRobot& motor = *MrvPtr;
  const TRobot& robot = *DemoRobot;
  int next_phase = 0;
  int next_len = 0;
  switch (DemoPhase) {
  case 0:
    follow(motor, 0.01, true);
    yrot = yrotSmooth;
    Approach(xrot, 35, 0.01);
    Approach(zpos, 2, 0.03);
    next_phase = 1, next_len = DemoLen2;
    break;
  case 1:
    follow(motor, 0.01, true);
    yrot = yrotSmooth + 40 * std::sin(n * DemoW2);
    Approach(xrot, 35, 0.01);
    Approach(zpos, 0.3, 0.01);
    next_phase = 2, next_len = DemoLen3;
    break;
  case 2:
    follow(motor, 0.03, true);
    yrot = yrotSmooth + 120 * std::sin(n * DemoW3);
    Approach(zpos, 0.3, 0.01);
    xrot = 10 * std::cos(2 * DemoW3 * n) + 15;
    next_phase = 3, next_len = DemoLen1;
    break;
  case 3:
    follow(robot, 0.005, false);
    yrot = yrotSmooth;
    Approach(xrot, 35, 0.01);
    Approach(zpos, 2, 0.01);
    next_phase = 4, next_len = DemoLen2;
    break;
  case 4:
  case 9:
    Approach(xv, 0, 0.03);
    Approach(zv, 0, 0.03);
    Approach(zpos, 5, 0.03);
    Approach(xrot, 50, 0.03);
    yrot += 0.2;
    next_phase = DemoPhase == 4 ? 5 : 0;
    next_len = DemoLen1;
    break;
  case 5:
    follow(robot, 0.01, false);
    yrot = yrotSmooth;
    Approach(xrot, 35, 0.03);
    Approach(zpos, 2, 0.03);
    next_phase = 6, next_len = DemoLen2;
    break;
  case 6:
    follow(robot, 0.01, false);
    yrot = yrotSmooth + 40 * std::sin(n * DemoW2);
    Approach(xrot, 35, 0.01);
    Approach(zpos, 0.6, 0.01);
    next_phase = 7, next_len = DemoLen3;
    break;
  case 7:
    follow(robot, 0.03, false);
    yrot = yrotSmooth + 120 * std::sin(n * DemoW3);
    Approach(zpos, 0.6, 0.01);
    xrot = 10 * std::cos(2 * DemoW3 * n) + 15;
    next_phase = 8, next_len = DemoLen1;
    break;
  case 8:
    follow(motor, 0.005, true);
    yrot = yrotSmooth;
    Approach(xrot, 35, 0.01);
    Approach(zpos, 2, 0.03);
    next_phase = 9, next_len = DemoLen2;
    break;
  default:
    // A phase outside the programme (set from outside) restarts it at the overview.
    next_phase = 9, next_len = DemoLen2;
    DemoStep = 1;
    break;
  }
  DemoStep -= 1;
  if (DemoStep <= 0) {
    DemoStep = next_len;
    DemoPhase = next_phase;
  }
}
