// The demonstration: a camera programme of ten phases that alternately follows
// the switched-reluctance carriage and the second four-wheel robot.
#include <cmath>

#include "models/constants.h"
#include "models/linear/mrvlin.h"
#include "models/robots/robot4.h"
#include "window/gl_form.h"

namespace {

// x -> v by k: one step of an exponential approach.
void Approach(double& x, double v, double k) {
  x = x + (v - x) * k;
}

enum class TFollow { Motor, Robot, Overview };
// The azimuth swing around the smoothed azimuth: none, a 40 degree half wave
// over the phase, or 120 degrees over one and a half waves (with the
// elevation swinging too).
enum class TSwing { None, Half, OneAndHalf };

struct TDemoPhase {
  TFollow Follow;
  double FollowRate;
  TSwing Swing;
  double XrotRate; // towards 35 degrees
  double ZposTarget;
  double ZposRate;
  int Next;
  std::int32_t TGL_Form::*Length; // of the next phase
};

constexpr TDemoPhase kPhases[10] = {
    {TFollow::Motor, 0.01, TSwing::None, 0.01, 2, 0.03, 1, &TGL_Form::DemoLen2},
    {TFollow::Motor, 0.01, TSwing::Half, 0.01, 0.3, 0.01, 2, &TGL_Form::DemoLen3},
    {TFollow::Motor, 0.03, TSwing::OneAndHalf, 0, 0.3, 0.01, 3, &TGL_Form::DemoLen1},
    {TFollow::Robot, 0.005, TSwing::None, 0.01, 2, 0.01, 4, &TGL_Form::DemoLen2},
    {TFollow::Overview, 0, TSwing::None, 0, 5, 0.03, 5, &TGL_Form::DemoLen1},
    {TFollow::Robot, 0.01, TSwing::None, 0.03, 2, 0.03, 6, &TGL_Form::DemoLen2},
    {TFollow::Robot, 0.01, TSwing::Half, 0.01, 0.6, 0.01, 7, &TGL_Form::DemoLen3},
    {TFollow::Robot, 0.03, TSwing::OneAndHalf, 0, 0.6, 0.01, 8, &TGL_Form::DemoLen1},
    {TFollow::Motor, 0.005, TSwing::None, 0.01, 2, 0.03, 9, &TGL_Form::DemoLen2},
    {TFollow::Overview, 0, TSwing::None, 0, 5, 0.03, 0, &TGL_Form::DemoLen1},
};

} // namespace

void TGL_Form::ModeDmo1Click() {
  if (!DemoMode && (!Sim.DemoRobot || !Sim.MrvPtr)) return; // a set without its devices
  DemoMode = !DemoMode;
  if (DemoMode) StartDemonstration(false);
}

void TGL_Form::StartDemonstration(bool from_keyboard) {
  if (!Sim.DemoRobot || !Sim.MrvPtr) {
    DemoMode = false;
    return;
  }
  Timer1.Enabled = true;
  Sim.AllAuto = true;
  if (from_keyboard)
    for (TRobot* r : Sim.Robots)
      r->AutoMode = true;
  DemoStep = DemoLen2;
  DemoPhase = 9;
  yrotSmooth = yrot;
  Sim.DemoRobot->Traction = 0.5;
  Sim.DemoRobot->Steer = 0.3 * Sim.DemoRobot->SteerMax;
  Sim.MrvPtr->SupplyOn = true;
  Sim.MrvPtr->DynamicsOn = true;
  Sim.MrvPtr->VitX = 0;
}

void TGL_Form::DemoCameraStep() {
  if (!Sim.DemoRobot || !Sim.MrvPtr) return; // a scene refuses that; a test's stand-ins may not
  if (DemoPhase < 0 || DemoPhase > 9) {
    // A phase outside the programme (set from outside) restarts it at the overview.
    DemoPhase = 9;
    DemoStep = DemoLen2;
    return;
  }
  const TDemoPhase& p = kPhases[DemoPhase];
  const int n = DemoStep;
  if (p.Follow == TFollow::Overview) {
    Approach(xv, 0, 0.03);
    Approach(zv, 0, 0.03);
    Approach(zpos, p.ZposTarget, p.ZposRate);
    Approach(xrot, 50, 0.03);
    yrot += 0.2; // no wrap: the next phase takes the azimuth from yrotSmooth again
  } else {
    const TRobot& f = p.Follow == TFollow::Motor ? static_cast<const TRobot&>(*Sim.MrvPtr)
                                                 : static_cast<const TRobot&>(*Sim.DemoRobot);
    Approach(xv, f.PosX, p.FollowRate);
    Approach(zv, -f.PosY, p.FollowRate);
    const double target = p.Follow == TFollow::Motor ? -f.Theta * kDeg - 90 : -f.Theta * kDeg;
    double e = target - yrotSmooth;
    if (e > 180) e -= 360;
    if (e < -180) e += 360;
    yrotSmooth += 0.01 * e;
    switch (p.Swing) {
    case TSwing::None:
      yrot = yrotSmooth;
      Approach(xrot, 35, p.XrotRate);
      Approach(zpos, p.ZposTarget, p.ZposRate);
      break;
    case TSwing::Half:
      yrot = yrotSmooth + 40 * std::sin(n * DemoW2);
      Approach(xrot, 35, p.XrotRate);
      Approach(zpos, p.ZposTarget, p.ZposRate);
      break;
    case TSwing::OneAndHalf:
      yrot = yrotSmooth + 120 * std::sin(n * DemoW3);
      Approach(zpos, p.ZposTarget, p.ZposRate);
      xrot = 10 * std::cos(2 * DemoW3 * n) + 15;
      break;
    }
  }
  DemoStep -= 1;
  if (DemoStep <= 0) {
    DemoStep = this->*p.Length;
    DemoPhase = p.Next;
  }
}
